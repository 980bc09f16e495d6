// The text entry: the character filter, edits under the length and line limits, caret keys,
// clicks, word wrap (and incremental lines against a full layout), the clipboard, painting.
#include "ui/text_edit_pane.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "ui/text_fixture.h"

namespace vs::test {
namespace {

TEST(TextFilter, KeepsPrintableLatinAndTheSixIdeographsOnly) {
    struct Case {
        char16_t unit;
        bool kept;
    } cases[] = {
        {9, false},      {10, true},      {13, true},      {32, true},      {126, true},
        {127, false},    {159, false},    {160, true},     {254, true},     {255, false},
        {0xE9, true},    {0x90F5, true},  {0x665F, true},  {0xFA00, true},  {0x501A, true},
        {0x743F, true},  {0x6D35, true},  {0x5207, false}, {0x2018, false}, {0xFEFF, false},
        {0xFFFD, false}, {0xE000, false}, {0x2028, false}, {0xD800, false}, {0xFFFF, false},
    };
    for (const Case& c : cases) {
        const std::u16string in{u'a', c.unit, u'b'};
        const std::u16string want = c.kept ? in : std::u16string(u"ab");
        EXPECT_EQ(TextEditPane::Filter(in, false), want) << "unit " << int(c.unit);
    }
    // A one-line entry stops at the first accepted break, CR or LF.
    EXPECT_EQ(TextEditPane::Filter(u"one\r\ntwo", true), u"one");
    EXPECT_EQ(TextEditPane::Filter(u"one\ntwo", true), u"one");
    EXPECT_EQ(TextEditPane::Filter(u"a\tb\rc", false), u"ab\rc");
}

TEST_F(TextEditTest, EditsKeepTheLimitsAndTheCaret) {
    struct Step {
        enum { kInsert, kKey, kText, kSelect } what;
        std::u16string text;
        uint8_t key = 0;
        uint8_t mods = 0;
        int32_t a = 0, b = 0;
    };
    struct Case {
        const char* name;
        int32_t maxLength, maxLines;
        uint32_t setup;  // 1 password, 2 read-only
        std::vector<Step> steps;
        std::u16string text;
        int32_t caret;
    };
    const std::u16string many(40000, u'x');
    const Case cases[] = {
        {"cut to the maximum", 5, 30000, 0, {{Step::kInsert, u"abcdefgh"}}, u"abcde", 5},
        {"insert before, tail cut",
         5,
         30000,
         0,
         {{Step::kInsert, u"abcd"}, {Step::kSelect, {}, 0, 0, 0, 0}, {Step::kInsert, u"XY"}},
         u"XYabc",
         2},
        {"full entry types nothing",
         5,
         30000,
         0,
         {{Step::kInsert, u"abcde"}, {Step::kText, u"f"}},
         u"abcde",
         5},
        {"one line keeps the first", 30000, 1, 0, {{Step::kInsert, u"one\r\ntwo"}}, u"one", 3},
        {"a big paste", 30000, 30000, 0, {{Step::kInsert, many}}, many.substr(0, 30000), 30000},
        {"backspace twice",
         30000,
         30000,
         0,
         {{Step::kText, u"a"},
          {Step::kKey, {}, app::kKeyBackspace},
          {Step::kKey, {}, app::kKeyBackspace}},
         u"",
         0},
        {"delete at the end and inside",
         30000,
         30000,
         0,
         {{Step::kInsert, u"abc"},
          {Step::kKey, {}, app::kKeyDelete},
          {Step::kSelect, {}, 0, 0, 1, 1},
          {Step::kKey, {}, app::kKeyDelete}},
         u"ac",
         1},
        {"enter breaks a line",
         30000,
         30000,
         0,
         {{Step::kText, u"ab"}, {Step::kKey, {}, app::kKeyEnter}, {Step::kText, u"\r"}},
         u"ab\r",
         3},
        {"enter and ctrl+j in one line",
         30000,
         1,
         0,
         {{Step::kText, u"ab"}, {Step::kKey, {}, app::kKeyEnter}, {Step::kText, u"\n"}},
         u"ab",
         2},
        {"selection replaced",
         30000,
         30000,
         0,
         {{Step::kInsert, u"hello"}, {Step::kSelect, {}, 0, 0, 1, 4}, {Step::kText, u"EY"}},
         u"hEYo",
         3},
        {"password takes keys, not text",
         30000,
         30000,
         1,
         {{Step::kText, u"xyz"},
          {Step::kKey, {}, 'a'},
          {Step::kKey, {}, 'B', InputEvent::kShift},
          {Step::kKey, {}, 'c', InputEvent::kCtrl}},
         u"aB",
         2},
        {"read-only ignores typing",
         30000,
         30000,
         2,
         {{Step::kText, u"xyz"}, {Step::kKey, {}, 'a'}, {Step::kKey, {}, app::kKeyEnter}},
         u"",
         0},
        {"two lines at most", 30000, 2, 0, {{Step::kInsert, u"a\rb\rc"}}, u"a\rb\r", 4},
    };
    for (const Case& c : cases) {
        auto p = entry();
        p->SetMaxLength(c.maxLength);
        p->SetMaxLines(c.maxLines);
        if (c.setup & 1) p->SetPassword();
        if (c.setup & 2) p->SetEditable(false, true);
        for (const Step& s : c.steps) {
            switch (s.what) {
                case Step::kInsert:
                    p->InsertText(s.text);
                    break;
                case Step::kKey:
                    p->OnKey(keyEvent(s.key, s.mods));
                    break;
                case Step::kText:
                    p->OnKey(textEvent(s.text));
                    break;
                case Step::kSelect:
                    p->SetSelection(s.a, s.b);
                    break;
            }
        }
        EXPECT_EQ(p->Text(), c.text) << c.name;
        EXPECT_EQ(p->SelectionStart(), c.caret) << c.name;
        EXPECT_EQ(p->SelectionEnd(), c.caret) << c.name;
        EXPECT_LE(p->GetLength(), c.maxLength) << c.name;
    }
}

TEST_F(TextEditTest, CaretCodesMoveOrExtendAndCollapseASelection) {
    // Three lines of 20 pixels' width: "ab cd " / "ef gh\r" / "ij".
    auto p = entry(36, 36);
    p->InsertText(u"ab cd ef gh\rij");
    ASSERT_EQ(p->LineStarts(), (std::vector<int32_t>{0, 6, 12}));
    struct Case {
        int code;
        bool shift;
        int32_t selA, selB;  // the selection before (active end b)
        int32_t wantStart, wantEnd;
    } cases[] = {
        {0, false, 7, 7, 6, 6},    {0, true, 7, 7, 6, 7},      {0, false, 7, 9, 7, 7},
        {1, false, 7, 7, 8, 8},    {1, true, 7, 7, 7, 8},      {1, false, 7, 9, 9, 9},
        {1, true, 14, 14, 14, 14}, {2, false, 8, 8, 2, 2},     {2, false, 7, 9, 7, 7},
        {3, false, 8, 8, 14, 14},  {3, false, 1, 1, 7, 7},     {3, false, 7, 9, 9, 9},
        {4, false, 10, 10, 9, 9},  {4, false, 9, 9, 8, 8},     {4, true, 10, 10, 9, 10},
        {5, false, 6, 6, 8, 8},    {5, true, 6, 6, 6, 8},      {6, false, 13, 13, 1, 1},
        {7, false, 1, 1, 13, 13},  {8, false, 9, 9, 6, 6},     {8, true, 9, 9, 6, 9},
        {9, false, 7, 7, 11, 11},  {9, false, 13, 13, 14, 14}, {10, false, 9, 9, 0, 0},
        {10, true, 9, 9, 0, 9},    {11, false, 3, 3, 14, 14},  {11, true, 3, 5, 3, 14},
    };
    for (const Case& c : cases) {
        p->SetSelection(c.selA, c.selB);
        const uint8_t dir[] = {app::kKeyLeft, app::kKeyRight, app::kKeyUp, app::kKeyDown};
        uint8_t mods = c.shift ? InputEvent::kShift : 0;
        if (c.code >= 8)
            mods |= InputEvent::kAlt;
        else if (c.code >= 4)
            mods |= InputEvent::kCtrl;
        EXPECT_TRUE(p->OnKey(keyEvent(dir[c.code & 3], mods)));
        EXPECT_EQ(p->SelectionStart(), c.wantStart) << "code " << c.code << " shift " << c.shift;
        EXPECT_EQ(p->SelectionEnd(), c.wantEnd) << "code " << c.code << " shift " << c.shift;
    }
    // Keys the owner needs pass through.
    for (uint8_t k : {uint8_t(app::kKeyTab), uint8_t(app::kKeyEscape), uint8_t(app::kKeyHome),
                      uint8_t(app::kKeyF1)})
        EXPECT_FALSE(p->OnKey(keyEvent(k)));
}

TEST_F(TextEditTest, ClicksCountByTimeAndCharacterAcrossTheClockWrap) {
    auto p = entry(200, 36);
    p->InsertText(u"alpha beta gamma\rsecond");
    const int32_t betaX = 6 * 5 + 2 + 6;  // inside "beta"
    struct Case {
        const char* name;
        std::vector<std::pair<int32_t, uint32_t>> clicks;  // x, time
        int32_t start, end;
    } cases[] = {
        {"one click", {{betaX, 1000}}, 7, 7},
        {"double within 499", {{betaX, 1000}, {betaX, 1499}}, 6, 10},
        {"double at 500", {{betaX, 1000}, {betaX, 1500}}, 6, 10},
        {"too slow at 501", {{betaX, 1000}, {betaX, 1501}}, 7, 7},
        {"another character", {{betaX, 1000}, {betaX + 6, 1100}}, 8, 8},
        {"triple selects the line", {{betaX, 1000}, {betaX, 1100}, {betaX, 1200}}, 0, 17},
        {"a fourth keeps the line",
         {{betaX, 1000}, {betaX, 1100}, {betaX, 1200}, {betaX, 1300}},
         0,
         17},
        {"across the wrap", {{betaX, 0xFFFFFF00u}, {betaX, 0x00000010u}}, 6, 10},
    };
    uint32_t base = 0;
    for (const Case& c : cases) {
        // Far apart in time from the previous case.
        base += 100000;
        p->SetSelection(0, 0);
        for (auto [x, t] : c.clicks) {
            const uint32_t time = t > 0xFFFF0000u || t < 0x100 ? t : t + base;
            p->OnMouse(mouseEvent(InputEvent::kLeftDown, x, 3, time));
            EXPECT_TRUE(p->HasFocus()) << c.name;
            p->OnMouse(mouseEvent(InputEvent::kLeftUp, x, 3, time));
            EXPECT_FALSE(p->HasFocus()) << c.name;
        }
        EXPECT_EQ(p->SelectionStart(), c.start) << c.name;
        EXPECT_EQ(p->SelectionEnd(), c.end) << c.name;
    }
    // Shift extends from the fixed end; dragging a word selection extends by words.
    p->SetSelection(2, 2);
    p->OnMouse(mouseEvent(InputEvent::kLeftDown, betaX, 3, 900000, InputEvent::kShift));
    EXPECT_EQ(p->SelectionStart(), 2);
    EXPECT_EQ(p->SelectionEnd(), 7);
    p->OnMouse(mouseEvent(InputEvent::kLeftUp, betaX, 3, 900001));
    p->OnMouse(mouseEvent(InputEvent::kLeftDown, betaX, 3, 950000));
    p->OnMouse(mouseEvent(InputEvent::kLeftDouble, betaX, 3, 950100));
    p->OnMouse(mouseEvent(InputEvent::kMouseMove, 6 * 12, 3, 950200));
    EXPECT_EQ(p->SelectionStart(), 6);
    EXPECT_EQ(p->SelectionEnd(), 16);
    p->OnMouse(mouseEvent(InputEvent::kLeftUp, 6 * 12, 3, 950300));
    // An inactive entry leaves the mouse to its owner.
    p->SetEditable(true, false);
    EXPECT_FALSE(p->OnMouse(mouseEvent(InputEvent::kLeftDown, betaX, 3, 990000)));
}

TEST_F(TextEditTest, LinesWrapAtBlanksOrCharacters) {
    struct Case {
        const char* name;
        std::u16string text;
        int32_t width;
        std::vector<int32_t> lines;
    } cases[] = {
        // Five units of "aaa bbb" fit 26 pixels (6 + 6 + 6 + 2 + 6).
        {"after the blank", u"aaa bbb", 26, {0, 4}},
        {"character wrap", u"abcdefgh", 30, {0, 5}},
        {"blanks absorbed", u"aaaa    bb", 26, {0, 8}},
        {"hard breaks", u"ab\rcd\n", 100, {0, 3, 6}},
        {"one unit at least", u"ab", 3, {0, 1}},
        {"empty", u"", 50, {0}},
    };
    for (const Case& c : cases) {
        auto p = entry(c.width, 36);
        p->InsertText(c.text);
        EXPECT_EQ(p->LineStarts(), c.lines) << c.name;
        EXPECT_EQ(p->ContentSize().y, int32_t(c.lines.size()) * 12) << c.name;
    }
}

TEST_F(TextEditTest, IncrementalLinesEqualAFullLayout) {
    // Units of different widths make every edit move the breaks.
    const std::vector<uint8_t> variedFont =
        fixedFont([](char16_t c) { return c == u' ' ? 3 : 3 + (c * 7) % 9; });
    graphics::FontCache varied{variedFont};
    const char16_t alphabet[] = u"abcdefgh  xyz\r\n";
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        std::mt19937 rng(seed);
        auto pick = [&rng](int lo, int hi) {
            return std::uniform_int_distribution<int>(lo, hi)(rng);
        };
        auto p = entry(40 + pick(0, 40), 36);
        for (int step = 0; step < 300; ++step) {
            const int32_t n = p->GetLength();
            switch (pick(0, 6)) {
                case 0:
                case 1:
                case 2: {
                    std::u16string s;
                    for (int k = pick(1, 12); k > 0; --k) s += alphabet[pick(0, 14)];
                    const int32_t at = pick(0, n);
                    p->SetSelection(at, std::min(n, at + pick(0, 3)));
                    p->InsertText(s);
                    break;
                }
                case 3: {
                    const int32_t a = pick(0, n);
                    p->DeleteRange(a, a + pick(0, 8));
                    break;
                }
                case 4: {
                    // A symbol is as wide as its picture, not as a letter.
                    const int32_t at = pick(0, n);
                    p->SetSelection(at, at);
                    p->InsertText(u" ", {}, std::make_shared<ui::SymbolObject>(pick(0, 7)));
                    break;
                }
                case 5: {
                    const int32_t a = pick(0, n);
                    p->SetSelection(a, std::min(n, a + pick(1, 6)));
                    ui::TextStyle s;
                    s.colour = pick(1, 200);
                    p->SetStyle(2, s);
                    break;
                }
                default:
                    p->SuspendLayout(true);
                    p->InsertText(u"zz ");
                    p->SuspendLayout(false);
            }
            ASSERT_EQ(p->LineStarts(), p->FullLayout()) << "seed " << seed << " step " << step;
        }
    }
}

TEST_F(TextEditTest, ClipboardCarriesLineBreaksAndNeverAPassword) {
    auto p = entry();
    p->InsertText(u"x\ry");
    p->SelectAll();
    EXPECT_TRUE(p->OnKey(keyEvent('c', InputEvent::kCtrl)));
    EXPECT_EQ(clipboard.storedText(), "x\r\ny");
    auto q = entry();
    EXPECT_TRUE(q->OnKey(keyEvent('v', InputEvent::kCtrl)));
    EXPECT_EQ(q->Text(), u"x\ry");

    // A paste from another program: bare line feeds and code-page letters.
    clipboard.put("one\ntwo \xE9");
    auto r = entry();
    r->OnKey(keyEvent('v', InputEvent::kCtrl));
    EXPECT_EQ(r->Text(), u"onetwo \u00e9");

    // Cut removes only what reached the clipboard.
    clipboard.setFailing(true);
    p->SelectAll();
    p->OnKey(keyEvent('x', InputEvent::kCtrl));
    EXPECT_EQ(p->Text(), u"x\ry");
    clipboard.setFailing(false);
    p->OnKey(keyEvent('x', InputEvent::kCtrl));
    EXPECT_EQ(p->Text(), u"");

    // A password never leaves its field.
    auto pw = entry();
    pw->SetPassword();
    pw->OnKey(keyEvent('s'));
    pw->SelectAll();
    const size_t calls = clipboard.log().size();
    pw->OnKey(keyEvent('c', InputEvent::kCtrl));
    pw->OnKey(keyEvent('x', InputEvent::kCtrl));
    pw->CopyAllToClipboard();
    EXPECT_EQ(clipboard.log().size(), calls);
    EXPECT_EQ(pw->Text(), u"s");
}

TEST_F(TextEditTest, StyledClipboardBlocksAreCheckedBeforeUse) {
    const std::u16string text = u"red\nblue";
    const ui::TextRun runs[] = {{0, 3, 0, 12, -1}, {3, 8, 0, 58, -1}};
    const std::vector<uint8_t> good = ui::encodeStyledText(text, runs);
    auto withRuns = [&](std::vector<ui::TextRun> rs) { return ui::encodeStyledText(text, rs); };
    std::vector<uint8_t> longCount = good;
    longCount[0] = 200;
    std::vector<uint8_t> shortRuns = good;
    shortRuns.pop_back();
    struct Case {
        const char* name;
        std::vector<uint8_t> block;
        bool styled;
    } cases[] = {
        {"valid", good, true},
        {"count beyond the block", longCount, false},
        {"run size beyond the block", shortRuns, false},
        {"run past the text", withRuns({{0, 9, 0, 12, -1}}), false},
        {"overlapping runs", withRuns({{0, 4, 0, 12, -1}, {3, 8, 0, 58, -1}}), false},
        {"empty run", withRuns({{2, 2, 0, 12, -1}}), false},
        {"bad symbol", withRuns({{0, 1, 0, 12, -7}}), false},
        {"empty", {}, false},
    };
    for (const Case& c : cases) {
        clipboard.put("plain", c.block);
        auto p = entry();
        p->InsertText(u"<");
        p->OnKey(keyEvent('v', InputEvent::kCtrl));
        if (c.styled) {
            EXPECT_EQ(p->Text(), u"<redblue") << c.name;
            EXPECT_EQ(p->StyleAt(1).colour, 12) << c.name;
            EXPECT_EQ(p->StyleAt(4).colour, 58) << c.name;
        } else {
            EXPECT_EQ(p->Text(), u"<plain") << c.name;
        }
    }
}

TEST_F(TextEditTest, APasswordPaintsAsterisksAndTheCaretShows) {
    auto plain = entry(60, 12);
    auto secret = entry(60, 12);
    secret->SetPassword();
    plain->InsertText(u"***");
    secret->InsertText(u"abc");
    auto pixels = [](TextEditPane& p) {
        p.Invalidate();
        p.BeginPaint();
        p.Paint();
        const uint16_t* px = p.Picture().pixels16();
        std::vector<uint16_t> out(px, px + 60 * 12);
        p.EndPaint();
        return out;
    };
    const std::vector<uint16_t> shown = pixels(*secret);
    EXPECT_EQ(shown, pixels(*plain));
    // The caret: a bar in the text colour after the third asterisk.
    EXPECT_EQ(shown[size_t(5 * 60 + 18)], graphics::Canvas::BaseColor(128));
    EXPECT_EQ(shown[size_t(5 * 60 + 19)], graphics::Canvas::BaseColor(143));
    // Read-only: no caret.
    secret->SetEditable(false, true);
    EXPECT_EQ(pixels(*secret)[size_t(5 * 60 + 18)], graphics::Canvas::BaseColor(143));
}

TEST_F(TextEditTest, EntriesAskForTheInputMethodAndLeaveNoDanglingPointers) {
    auto a = entry();
    EXPECT_EQ(TextEditPane::MostRecent(), a.get());
    EXPECT_TRUE(ime.IsRequested(a.get()));
    EXPECT_TRUE(textInput.available());
    EXPECT_EQ(imeUi.Current(), a.get());
    auto b = entry(120, 36, TextEditPane::kNotMostRecent);
    EXPECT_EQ(TextEditPane::MostRecent(), a.get());
    EXPECT_EQ(imeUi.Current(), b.get());
    b->SetPassword();
    EXPECT_FALSE(ime.IsRequested(b.get()));
    b.reset();
    EXPECT_EQ(imeUi.Current(), a.get());
    a->SetEditable(false, false);
    EXPECT_FALSE(textInput.available());
    EXPECT_EQ(imeUi.Current(), nullptr);
    a->SetEditable(true, true);
    EXPECT_TRUE(textInput.available());
    a.reset();
    EXPECT_EQ(TextEditPane::MostRecent(), nullptr);
    EXPECT_FALSE(textInput.available());
}

}  // namespace
}  // namespace vs::test
