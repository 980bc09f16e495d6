// The development server's side: arbitrary payloads through the command parsers, with spells
// and stacks in some slots. What is accepted must build and parse back to the same command.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "plain_schedule.h"

#include "net/client_commands.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    usePlainSchedule(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vs::net;
    CommandContext context;
    context.spellKind = [](uint8_t slot) -> uint8_t { return slot % 10; };
    context.stackSlot = [](uint8_t slot) { return slot % 2 == 1; };
    const auto command = parseClientCommand(std::span(data, size), context);
    if (!command) return 0;
    const auto again = parseClientCommand(build(*command), context);
    if (!again || !(*again == *command)) std::abort();
    return 0;
}
