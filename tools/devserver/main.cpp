// The development game server: vestrel-devserver [--port N] [--framing binary|line] [--trace]
// [--script FILE]
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "devserver/dev_server.h"
#include "devserver/script.h"
#include "devserver/world.h"

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
    std::unique_ptr<ScriptPlayer> player;
    if (!options->script.empty()) {
        auto script = Script::load(options->script, error);
        if (!script) {
            std::fprintf(stderr, "vestrel-devserver: %s\n", error.c_str());
            return 2;
        }
        player = std::make_unique<ScriptPlayer>(std::move(*script), [](bool) {
            if (gServer) gServer->stop();
        });
    }
    Server server(*options, player.get());
    // Without a script the clients play in the living world.
    std::unique_ptr<WorldHandler> world;
    if (!player) {
        const auto start = std::chrono::steady_clock::now();
        world = std::make_unique<WorldHandler>(
            server, WorldOptions{options->seed, options->hostileWorld}, [start] {
                return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now() - start)
                                    .count()) +
                       1;
            });
        server.setHandler(world.get());
    }
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
    if (player && player->state() != ScriptRun::State::Passed) {
        const std::string why = player->state() == ScriptRun::State::Failed
                                    ? player->failure()
                                    : "stopped before the script ended";
        std::fprintf(stderr, "vestrel-devserver: %s: %s\n", options->script.c_str(), why.c_str());
        return 1;
    }
    return 0;
}
