#include "app/launch_options.h"

#include <charconv>

namespace vs::app {

std::string LaunchOptions::commandLine() const {
    std::string s;
    for (const auto& w : words) {
        if (!s.empty()) s += ' ';
        s += w;
    }
    return s;
}

namespace {
bool parseInt(const std::string& s, int& out) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}
}  // namespace

ParseResult parseLaunchOptions(const std::vector<std::string>& args) {
    ParseResult r;
    LaunchOptions& o = r.options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                r.error = a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--data") {
            if (!value(v)) return r;
            o.dataDir = v;
        } else if (a == "--log-level") {
            if (!value(v)) return r;
            base::LogLevel level;
            if (!base::parseLogLevel(v, level)) return r.error = "unknown log level: " + v, r;
            o.logLevel = level;
        } else if (a == "--scale") {
            if (!value(v)) return r;
            int n = 0;
            if (!parseInt(v, n) || n < 1 || n > 8) return r.error = "--scale takes 1 to 8", r;
            o.scale = n;
        } else if (a == "--fullscreen") {
            o.fullscreen = true;
        } else if (a == "--window") {
            o.fullscreen = false;
        } else if (a == "--pixel-format") {
            if (!value(v)) return r;
            if (v != "555" && v != "565") return r.error = "--pixel-format takes 555 or 565", r;
            o.pixelFormat = v == "555" ? 555 : 565;
        } else if (a == "--codepage") {
            if (!value(v)) return r;
            o.codepage = v;
        } else if (a == "--smoke-test") {
            o.smokeTest = true;
        } else if (a == "--smoke-shot") {
            if (!value(v)) return r;
            o.smokeShot = v;
        } else if (a == "--scene-shot") {
            if (!value(v)) return r;
            o.sceneShot = v;
            o.noConnect = true;
        } else if (a == "--sample") {
            if (!value(v)) return r;
            if (v != "text-entry") return r.error = "unknown sample: " + v, r;
            o.sample = v;
            o.noConnect = true;
        } else if (a == "--ime-script") {
            if (!value(v)) return r;
            o.imeScript = v;
        } else if (a == "--night") {
            o.night = true;
        } else if (a == "--trace-packets") {
            o.tracePackets = true;
        } else if (a == "--software-renderer") {
            o.softwareRenderer = true;
        } else if (a == "--test-pattern") {
            o.testPattern = true;
        } else if (a == "--no-connect") {
            o.noConnect = true;
        } else if (a.size() > 1 && a[0] == '-' && a.rfind("--", 0) == 0) {
            r.error = "unknown option: " + a;
            return r;
        } else {
            o.words.push_back(a);
        }
    }
    return r;
}

const char* launchOptionsHelp() {
    return "usage: vestrel [options] [server [port]]\n"
           "\n"
           "  server                a host name or a dotted IPv4 address of the game server\n"
           "  port                  its TCP port (23 when absent or 0)\n"
           "\n"
           "options:\n"
           "  --data DIR            the game data directory (archives, Maps, users, ScreenShots)\n"
           "  --window              play in a desktop window (the default)\n"
           "  --fullscreen          play full screen (Alt+Enter switches)\n"
           "  --scale N             window scale factor, 1 to 8 (default: the largest that fits)\n"
           "  --pixel-format F      555 or 565: the 16-bit format to draw in (default 565)\n"
           "  --codepage NAME       the game's code page (default Windows-1252; e.g. 949)\n"
           "                        The window options are remembered for the next start; the\n"
           "                        pixel format and code page hold for this run only (their\n"
           "                        stored settings are \"PixelFormat\" and \"CodePage\" in\n"
           "                        $XDG_CONFIG_HOME/vestrel/settings.reg).\n"
           "  --log-level L         error, warning, info or debug (default warning)\n"
           "  --trace-packets       log every received packet\n"
           "  --software-renderer   present without the GPU\n"
           "  --test-pattern        show a picture for checking colours and scaling\n"
           "  --no-connect          stay on the first screen without connecting to a server\n"
           "  --smoke-test          start, reach the first screen, save a screenshot, exit\n"
           "  --smoke-shot FILE     where --smoke-test saves its PNG (default smoke.png)\n"
           "  --scene-shot FILE     draw the demo village into a PNG after start-up, exit\n"
           "  --night               --scene-shot draws the village by night\n"
           "  --sample text-entry   a screen of text entries to try typing, the input method\n"
           "                        and the clipboard with\n"
           "  --ime-script FILE     play input method messages from FILE (lines of\n"
           "                        \"TIME-MS compose TEXT CURSOR | commit TEXT | end |\n"
           "                        candidates SELECTION ITEM... | close | open 0|1\")\n"
           "  --version             print the version and exit\n"
           "  --help                print this text and exit\n";
}

}  // namespace vs::app
