#pragma once
#include <optional>
#include <string>
#include <vector>

#include "base/log.h"

namespace vs::app {

// What the command line asked for. Options override stored settings for one run; the words that
// are not options are the system's own launch parameters (a server host or address, a port).
struct LaunchOptions {
    std::vector<std::string> words;         // positional words, in order
    std::optional<std::string> dataDir;      // --data DIR
    std::optional<base::LogLevel> logLevel;  // --log-level error|warning|info|debug
    std::optional<int> scale;                // --scale N (1..8)
    std::optional<bool> fullscreen;          // --fullscreen / --window
    std::optional<int> pixelFormat;          // --pixel-format 555|565
    std::optional<std::string> codepage;     // --codepage NAME
    bool smokeTest = false;                  // --smoke-test
    std::string smokeShot;                   // --smoke-shot FILE (PNG written by the smoke test)
    bool tracePackets = false;               // --trace-packets
    bool softwareRenderer = false;           // --software-renderer
    bool testPattern = false;                // --test-pattern (a picture to check the screen by)
    bool noConnect = false;                  // --no-connect (the smoke test implies it)
    std::string sceneShot;                   // --scene-shot FILE (a picture of the demo village)
    bool night = false;                      // --night (the scene shot by night)
    std::string sample;                      // --sample NAME (a debug screen instead of the first)
    std::string imeScript;                   // --ime-script FILE (scripted input method messages)
    bool help = false;                       // --help
    bool version = false;                    // --version

    // The words joined with blanks, as the system's own command line holds them.
    std::string commandLine() const;
};

struct ParseResult {
    LaunchOptions options;
    std::string error;  // empty when the command line was understood
};

ParseResult parseLaunchOptions(const std::vector<std::string>& args);  // args without argv[0]
const char* launchOptionsHelp();

}  // namespace vs::app
