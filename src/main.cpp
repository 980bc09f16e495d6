#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/launch_options.h"
#include "base/log.h"
#include "base/text.h"
#include "client/application.h"
#include "platform/sdl/sdl_platform.h"
#include "vestrel_version.h"

int main(int argc, char** argv) {
    using namespace vs;
    std::vector<std::string> args(argv + 1, argv + argc);
    app::ParseResult parsed = app::parseLaunchOptions(args);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "vestrel: %s\n\n%s", parsed.error.c_str(), app::launchOptionsHelp());
        return 2;
    }
    const app::LaunchOptions& options = parsed.options;
    if (options.help) {
        std::fputs(app::launchOptionsHelp(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("vestrel %s\n", VESTREL_VERSION_STRING);
        return 0;
    }
    if (options.logLevel) base::setLogLevel(*options.logLevel);
    if (options.smokeTest && !options.logLevel) base::setLogLevel(base::LogLevel::Info);
    if (options.codepage && !base::CodePage::setCurrent(*options.codepage)) {
        std::fprintf(stderr, "vestrel: unknown code page %s\n", options.codepage->c_str());
        return 2;
    }
    try {
        platform::SdlOptions so;
        so.softwareRenderer = options.softwareRenderer;
        platform::SdlPlatform sdl(so);
        return client::runApplication(options);
    } catch (const std::exception& e) {
        platform::SdlPlatform::showFatal(e.what(), "Error");
        return 1;
    }
}
