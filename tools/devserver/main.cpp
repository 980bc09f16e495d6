// The development game server: vestrel-devserver [--port N] [--framing binary|line] [--trace]
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "devserver/dev_server.h"

namespace {
vs::devserver::Server* gServer = nullptr;
void onSignal(int) {
    if (gServer) gServer->stop();
}
}  // namespace

int main(int argc, char** argv) {
    using namespace vs::devserver;
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (const auto& a : args) {
        if (a == "--help" || a == "-h") {
            std::fputs(optionsHelp(), stdout);
            return 0;
        }
    }
    std::string error;
    const auto options = parseOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "vestrel-devserver: %s\n\n%s", error.c_str(), optionsHelp());
        return 2;
    }
    Server server(*options);
    if (!server.listen(error)) {
        std::fprintf(stderr, "vestrel-devserver: %s\n", error.c_str());
        return 1;
    }
    gServer = &server;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    server.run();
    gServer = nullptr;
    server.log("stopped");
    return 0;
}
