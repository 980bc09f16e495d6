#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vs::mkdata {

// One text of the demo's string table "str.res".
struct DemoString {
    int id;
    const char* text;  // UTF-8 source; written in Windows-1252
    // The conversions the program passes when it uses the text as a format ("s", "sd"), or ""
    // for a plain text.
    const char* args;
    const char* use;  // where the program shows it
};

// Every string number the program shows, in increasing order (content/strings.cpp).
std::span<const DemoString> demoStrings();

// "str.res": line n holds string n, CR LF between lines; numbers nobody uses are empty lines.
std::vector<uint8_t> buildStrRes();
// "HELP.RES": the main screen's help, one line per line.
std::vector<uint8_t> buildHelpRes();
// The help lines in order (UTF-8), as written into HELP.RES.
std::vector<std::string> demoHelpLines();

}  // namespace vs::mkdata
