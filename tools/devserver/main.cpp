// The development game server: vestrel-devserver [--port N] [--framing binary|line] [--trace]
// [--db FILE] [--game-port N] [--script FILE]
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "devserver/accounts.h"
#include "devserver/dev_server.h"
#include "devserver/login_flow.h"
#include "devserver/script.h"
#include "devserver/world.h"
#include "mkdata/content/demo_figures.h"

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
    auto options = parseOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "vestrel-devserver: %s\n\n%s", error.c_str(), optionsHelp());
        return 2;
    }
    std::unique_ptr<ScriptPlayer> player;
    std::unique_ptr<AccountStore> accounts;
    std::unique_ptr<LoginFlow> flow;
    Handler* handler = nullptr;
    if (options->script.empty()) {
        // Accounts, the server list and the transfer to the game port.
        accounts = AccountStore::open(options->db.empty() ? ":memory:" : options->db,
                                      vs::mkdata::demo::kHeads, error);
        if (!accounts) {
            std::fprintf(stderr, "vestrel-devserver: %s\n", error.c_str());
            return 1;
        }
        if (options->gamePort < 0) options->gamePort = 0;
        flow = std::make_unique<LoginFlow>(*accounts);
        handler = flow.get();
    } else {
        auto script = Script::load(options->script, error);
        if (!script) {
            std::fprintf(stderr, "vestrel-devserver: %s\n", error.c_str());
            return 2;
        }
        player = std::make_unique<ScriptPlayer>(std::move(*script), [](bool) {
            if (gServer) gServer->stop();
        });
    }
    if (player) handler = player.get();
    Server server(*options, handler);
    // Without a script, the clients that log in play in the living world.
    std::unique_ptr<WorldHandler> world;
    if (flow) {
        const auto start = std::chrono::steady_clock::now();
        world = std::make_unique<WorldHandler>(
            server, WorldOptions{options->seed, options->hostileWorld}, [start] {
                return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now() - start)
                                    .count()) +
                       1;
            });
        flow->setWorld(world.get());
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
