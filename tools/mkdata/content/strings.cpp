// The demo's string table "str.res" and help text "HELP.RES".
//
// Every string number the program shows is listed here with its text, the arguments the
// program passes when the text is a format, and where it is shown. Numbers nobody shows are
// empty lines in str.res. The texts are data: any wording will do, but a format must ask for
// exactly the arguments its caller passes (tests/tools checks this).
#include <algorithm>
#include <array>

#include "mkdata/content.h"
#include "mkdata/content/archives.h"
#include "mkdata/content/demo_strings.h"
#include "mkdata/text_file.h"

namespace vs::mkdata {

namespace {

// clang-format off
constexpr DemoString kStrings[] = {
    {0, "Vestrel", "", "main window title"},

    {3, "Leave the game? (y/n)", "", "quit prompt (Q, Alt+x, main screen icon 7)"},
    {6, "Drop which item? [%s]", "s", "key d: drop prompt with the inventory summary"},
    {7, "Drop how much gold?", "", "key d then $ / \\: money prompt"},
    {8, "Drop a whole stack of which item? [%s]", "s", "key D: drop-all prompt"},
    {9, "Use which item? [%s]", "s", "key u: use prompt"},
    {11, "Inspect which item? [%s]", "s", "key p: item prompt (command 52)"},
    {12, "Eat or drink which item? [%s]", "s", "key e: item prompt (command 26)"},
    {13, "Wield which item? (- for bare hands) [%s]", "s", "key w: wield prompt"},
    {14, "You lower your weapon.", "", "kServerWield, action 160 or more (message line)"},

    {15, "a  smile", "", "emotion list (:, then ?)"},
    {16, "b  laugh", "", "emotion list"},
    {17, "c  cry", "", "emotion list"},
    {18, "d  frown", "", "emotion list"},
    {19, "e  surprise", "", "emotion list"},
    {20, "f  sigh", "", "emotion list"},
    {21, "g  wink", "", "emotion list"},
    {22, "h  blush", "", "emotion list"},
    {23, "i  yawn", "", "emotion list"},
    {24, "j  puzzle", "", "emotion list"},
    {25, "k  bow", "", "emotion list"},
    {26, "l  wave", "", "emotion list"},
    {27, "m  sit down", "", "emotion list (sends 254)"},
    {28, "n  stand up", "", "emotion list (sends 255)"},
    {29, "o  cheer", "", "emotion list (sends 12)"},
    {30, "p  dance", "", "emotion list (sends 13)"},
    {31, "Emotions:", "", "heading of the emotion list"},
    {32, "Emotion (a-p, ? for the list):", "", "key : emotion prompt"},
    {33, "Wear which item? [%s]", "s", "key W: item prompt (command 30)"},
    {34, "Choose w, a, s, h, l, r, [ or ] (A for all):", "", "key T: selection prompt"},
    {35, "Throw which item? [%s]", "s", "key t: item prompt (command 23)"},
    {36, "Cast which spell? [%s]", "s", "key Z: spell prompt with the spell summary"},
    {39, "Name list: (a)dd, (d)elete, ? to show", "", "F9 name list prompt"},
    {40, "Add to the name list:", "", "F9 then a"},
    {41, "Remove from the name list:", "", "F9 then d"},
    {42, "Give which item? (/ for gold) [%s]", "s", "key h: give prompt"},
    {43, "Give how much gold?", "", "key h then / or \\: money prompt"},
    {44, "Give a whole stack of which item? [%s]", "s", "key H: give prompt"},
    {45, "Swap which two spells? (a,b)", "", "key C: spell swap prompt"},
    {46, "Swap which two items? (a,b)", "", "key c: item swap prompt"},
    {47, "Command:", "", "key g: text command prompt"},

    {49, "%s is used up.", "s", "kServerRemoveInventory reason 1 (item name)"},
    {50, "You dropped %s.", "s", "kServerRemoveInventory reason 2"},
    {51, "You gave away %s.", "s", "kServerRemoveInventory reason 3"},
    {52, "%s broke.", "s", "kServerRemoveInventory reason 4"},
    {53, "You sold %s.", "s", "kServerRemoveInventory reason 5"},
    {54, "%s changed hands in a trade.", "s", "kServerRemoveInventory reason 6"},
    {55, "%s was stolen!", "s", "kServerRemoveInventory reason 7"},
    {56, "%s crumbled to dust.", "s", "kServerRemoveInventory reason 8"},
    {57, "%s went into the mix.", "s", "kServerRemoveInventory reason 10"},
    {58, "You threw %s.", "s", "kServerRemoveInventory reason 9"},
    {59, "%s faded away with time.", "s", "kServerRemoveInventory reason 13"},
    {60, "%s is gone.", "s", "kServerRemoveInventory, any other reason"},
    {61, "Your character has been saved.", "", "kServerSelfSaveOK message box"},
    {64, "Delete the selected messages?", "", "board and mail lists: Delete"},
    {65, "There is no such article.", "", "article number 0, empty form"},
    {66, "There is no such letter.", "", "mail number 0"},

    {67, "Hello!", "", "default chat macro 1 (Alt+1)"},
    {68, "Thank you!", "", "default chat macro 2"},
    {69, "Well met, traveller.", "", "default chat macro 3"},
    {70, "Follow me.", "", "default chat macro 4"},
    {71, "Wait for me, please.", "", "default chat macro 5"},
    {72, "Help!", "", "default chat macro 6"},
    {73, "Good luck!", "", "default chat macro 7"},
    {74, "See you later.", "", "default chat macro 8"},
    {75, "Yes.", "", "default chat macro 9"},
    {76, "No.", "", "default chat macro 10 (Alt+0)"},
    {77, "Hour", "", "hour pane tooltip, shown as \"%s : %02d\" with the hour"},

    {88, "This version of Vestrel is out of date. Please install the new one.", "",
     "kServerVersionCheck result 1; patch answer refused"},
    {90, "The new password and its confirmation differ.", "", "password and new character dialogs"},
    {95, "Write", "", "paper window label, writing"},
    {96, "Close", "", "paper window label, reading"},
    {97, "Keys of the game", "", "help title (Shift+?)"},

    {100, "Arrow keys  walk", "", "help line"},
    {101, "d  drop an item (/ or $ for gold)", "", "help line"},
    {102, "\"  whisper (Up, Down: earlier names)", "", "help line"},
    {103, "D  drop a whole stack", "", "help line"},
    {104, "u  use an item", "", "help line"},
    {105, "p  inspect an item", "", "help line (HELP.RES only)"},
    {106, "w  wield an item (- for bare hands)", "", "help line"},
    {107, "Z  cast a spell", "", "help line"},
    {108, "C  swap two spells", "", "help line"},
    {109, "a or Space  attack", "", "help line"},
    {110, "e  eat or drink", "", "help line"},
    {111, ":  show an emotion", "", "help line"},
    {112, "Alt+0 to Alt+9  say a chat macro", "", "help line"},
    {113, "h  give an item (/ for gold)", "", "help line"},
    {114, "W  wear an item", "", "help line"},
    {115, "+  spell book", "", "help line"},
    {116, "!  shout", "", "help line"},
    {117, "c  swap two items", "", "help line"},
    {118, "Ctrl+W  who is online", "", "help line"},
    {119, "I  mix items", "", "help line (HELP.RES only)"},
    {120, "s  refresh the view", "", "help line"},
    {121, "'  say something", "", "help line"},
    {122, ",  pick up", "", "help line"},
    {123, "H  give a whole stack", "", "help line"},
    {124, "g  enter a command", "", "help line"},
    {125, "o  look around", "", "help line (HELP.RES only)"},
    {126, "Alt+c  chat line", "", "help line"},
    {127, "i  inventory", "", "help line"},
    {128, "t  throw an item", "", "help line"},
    {129, "0 to 9  hot keys (see Macro setup)", "", "help line"},
    {130, "b  bulletin boards", "", "help line"},
    {131, "T  choose an action", "", "help line"},
    {132, "<  pick up from a pile", "", "help line"},
    {133, "Q or Alt+x  leave the game", "", "help line"},
    {134, "F1  ask the guide", "", "help line"},
    {135, "F2  open the world menu", "", "help line"},
    {136, "F3  friend list", "", "help line"},
    {137, "F4  allow or refuse whispers", "", "help line"},
    {138, "F5  allow or refuse shouts", "", "help line"},
    {139, "F6  allow or refuse group talk", "", "help line"},
    {140, "F7  sound effects on or off", "", "help line"},
    {141, "F8  sound control", "", "help line"},
    {142, "F9  name list", "", "help line"},
    {143, "F10  options", "", "help line"},
    {144, "F11  macro setup", "", "help line"},
    {145, "F12  walk without waiting for the server, or not", "", "help line"},
    {148, " [in hand]", "", "kServerWield: appended to the item name"},
    {149, "Your hands are empty.", "", "kServerWield slot 0 (message line)"},
    {150, "Whisper to:", "", "key \": first whisper prompt"},
    {154, "The connection to the server was lost.", "", "reconnect box"},
    {155, "Reconnecting to the server...", "", "reconnecting box"},
    {156, "Connecting to the server...", "", "connecting box"},
    {157, "The server cannot be reached. Please try again later.", "",
     "failed connection; failed download"},
    {158, "How many %s do you offer?", "s", "exchange count question (item name)"},
    {165, "Do you accept?", "", "server message 78: question with a value"},
    {166, "Function keys", "", "help heading"},
    {167, "Items", "", "help heading"},
    {168, "Talking", "", "help heading"},
    {169, "Spells and shortcuts", "", "help heading"},
    {170, "Actions", "", "help heading"},
    {171, "Moving and other keys", "", "help heading"},
    {172, "------------------------------", "", "help rule under each heading"},
    {174, "Starting the patcher. Vestrel will close now.", "", "hand-over to the patcher"},

    {183, "Totem", "", "status pane tooltip, region 2"},
    {184, "Nation", "", "status pane tooltip, region 1"},
    {185, "Account name", "", "status pane tooltip, region 0"},
    {186, "Class and level", "", "status pane tooltip, regions 3 and 4"},
    {187, "Strength", "", "status pane tooltip, region 5"},
    {188, "Intelligence", "", "status pane tooltip, region 7"},
    {189, "Dexterity", "", "status pane tooltip, region 6"},
    {190, "Health", "", "status pane tooltip, region 8"},
    {191, "Mana", "", "status pane tooltip, region 9"},
    {192, "Experience", "", "status pane tooltip, region 10"},
    {193, "Gold", "", "status pane tooltip, region 11"},
    {194, "Position (x, y)", "", "status pane tooltip, region 12"},
    {195, "Allow or refuse exchanges (E)", "", "own character page, switch 0 tooltip"},
    {196, "Allow or refuse group invitations (G)", "", "own character page, switch 1 tooltip"},
    {198, "Offer an exchange", "", "other player's page, button 0 tooltip"},
    {199, "Ask about this player", "", "other player's page, button 1 tooltip"},
    {200, "Inventory (i)", "", "main screen icon 0 tooltip"},
    {201, "Spell book (+)", "", "main screen icon 1 tooltip"},
    {202, "Refresh the view (s)", "", "main screen icon 2 tooltip"},
    {203, "Your character", "", "main screen icon 3 tooltip"},
    {204, "Bulletin boards and mail (b)", "", "main screen icon 4 tooltip"},
    {205, "Say something (')", "", "main screen icon 5 tooltip"},
    {206, "Ask the guide (F1)", "", "main screen icon 6 tooltip"},
    {207, "Leave the game (Q)", "", "main screen icon 7 tooltip"},
    {208, "The River Nation: boatmen and traders of the lowlands, quick to bargain and slow to "
          "anger.", "", "new character, nation 0"},
    {209, "The Mountain Nation: miners and smiths of the high passes, stubborn friends and "
          "patient foes.", "", "new character, nation 1"},
    {210, "Totem of the Owl: the sight of scholars and healers.", "", "new character, totem 0"},
    {211, "Totem of the Wolf: the strength of hunters and guards.", "", "new character, totem 1"},
    {212, "Totem of the Fox: the quickness of scouts and thieves.", "", "new character, totem 2"},
    {213, "Totem of the Bear: the patience of farmers and builders.", "", "new character, totem 3"},
    {215, "Please enter a number in the allowed range.", "", "number question, out of range"},
    {216, "How many?", "", "item mixing, count of a stack"},
    {220, "%s: %d", "sd", "countdown line (name, value)"},
    {221, "Are you sure? (y/n)", "", "keys h and H: give question"},
    {225, "The account is confirmed.", "", "account check (code 0; 225 + code below)"},
    {226, "There is no such account.", "", "account check code 1"},
    {227, "The password is wrong.", "", "account check code 2"},
    {228, "The account could not be confirmed.", "", "account check code 3"},
    {229, "The account service cannot be reached.", "", "account check code 4"},
    {230, "The account service did not answer properly.", "", "account check code 5"},
    {231, "Checking the account...", "", "account check waiting box"},
    {232, "The account service did not answer in time.", "", "account check time-out"},
    {235, "You have no parcels or mail.", "", "parcel strip, key m"},
    {237, "Sound effects are off.", "", "F7 (system message)"},
    {238, "Sound effects are on.", "", "F7 (system message)"},
    {239, "Copy the text you were writing to the clipboard?", "", "lost connection while writing"},
};
// clang-format on

// The help: the fallback's six groups (resources/help_text.h), with the keys it leaves out.
constexpr std::array<std::array<int, 16>, 6> kHelpGroups = {{
    {166, 172, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145},
    {167, 172, 101, 103, 104, 106, 110, 114, 128, 117, 105, 119},
    {168, 172, 121, 116, 102, 111, 126},
    {169, 172, 107, 108, 115, 129, 112, 127},
    {170, 172, 109, 122, 132, 113, 123, 124, 131, 130, 125},
    {171, 172, 100, 120, 118, 133},
}};

const char* textOf(int id) {
    for (const auto& s : kStrings)
        if (s.id == id) return s.text;
    return "";
}

}  // namespace

std::span<const DemoString> demoStrings() {
    return kStrings;
}

std::vector<uint8_t> buildStrRes() {
    const int last =
        std::max_element(std::begin(kStrings), std::end(kStrings),
                         [](const DemoString& a, const DemoString& b) { return a.id < b.id; })
            ->id;
    std::vector<std::string> lines(size_t(last) + 1);
    for (const auto& s : kStrings) lines[size_t(s.id)] = s.text;
    // No break after the last line: it would make one more, empty, string.
    return textFile(lines, false);
}

std::vector<std::string> demoHelpLines() {
    std::vector<std::string> lines;
    for (size_t g = 0; g < kHelpGroups.size(); ++g) {
        if (g > 0) lines.emplace_back();
        for (int id : kHelpGroups[g])
            if (id != 0) lines.emplace_back(textOf(id));
    }
    return lines;
}

std::vector<uint8_t> buildHelpRes() {
    return textFile(demoHelpLines());
}

}  // namespace vs::mkdata

MKDATA_CONTENT(strings, 100) {
    auto& misc = data.archive(vs::mkdata::kTextArchive);
    misc.add("str.res", vs::mkdata::buildStrRes());
    misc.add("HELP.RES", vs::mkdata::buildHelpRes());
}
