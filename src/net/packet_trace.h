#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The names of the server messages and the packet trace that prints each received message.
namespace vs::net {

// The debug name of a server opcode: "kServerMove", or "#" and the number for opcodes without a
// name of their own ("#28"). Opcodes 116 and above have no entry (nullptr).
const char* serverMessageName(uint8_t opcode);
// The opcode of a debug name, or -1.
int serverOpcodeByName(std::string_view name);

// One trace line, as "%08x: packet %s\n" with the clock and the name.
std::string packetTraceLine(uint32_t clockMs, uint8_t opcode);

// The trace is off until turned on (--trace-packets); lines go to standard error unless a test
// catches them.
class PacketTrace {
  public:
    using Sink = std::function<void(std::string_view line)>;
    static void setEnabled(bool on);
    static bool enabled();
    static void setSink(Sink sink);  // empty: standard error
    // Prints the line for a received payload when the trace is on.
    static void received(uint32_t clockMs, uint8_t opcode);
};

}  // namespace vs::net
