// The dev server's script reader and readable form: arbitrary text as a script, played with
// the same bytes coming back as the client's command, and the bytes as a payload in both
// directions. Whatever the catalogue reads must come back the same from its readable form.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "plain_schedule.h"

#include "devserver/dev_server.h"
#include "devserver/script.h"
#include "devserver/wire_text.h"

namespace {

using namespace vs;
using namespace vs::devserver;

class Link final : public ScriptLink {
  public:
    void send(std::span<const uint8_t>) override {}
    void close() override {}
    void log(const std::string&) override {}
};

// The readable form of a record read back gives a record that builds to the same bytes.
template <class Record, class Scan>
void roundTrip(const Record& record, Scan scan) {
    std::string error;
    const auto values = parseValues(formatValues(printValues(record)), error);
    if (!values) std::abort();
    const auto again = scan(net::opcodeOf(record), *values, error);
    if (!again || net::build(*again) != net::build(record)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    usePlainSchedule(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    describeTraffic(bytes, true);
    describeTraffic(bytes, false);
    if (auto m = net::parseServerMessage(bytes)) roundTrip(*m, scanServerMessage);
    if (auto c = net::parseClientCommand(bytes)) roundTrip(*c, scanClientCommand);

    std::string error;
    const auto script =
        Script::parse(std::string_view(reinterpret_cast<const char*>(data), size), error);
    if (!script) return 0;
    for (const auto& step : script->steps()) {
        if (step.kind != ScriptStep::Kind::Send) continue;
        if (auto m = net::parseServerMessage(step.payload)) roundTrip(*m, scanServerMessage);
    }
    Link link;
    ScriptRun run(*script, link);
    run.advance(0);
    run.received(bytes, 1);
    for (uint32_t t = 2; t < 8; ++t) run.advance(t * 4000000u);
    run.left(0xFFFFFFF0u);
    return 0;
}
