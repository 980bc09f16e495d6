// The terminal phase's scanner on any server bytes, cut into chunks at the places the first byte
// names: what it asks for stays inside what it was given.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "net/terminal_pane.h"

namespace {

class Checks final : public vs::net::TerminalScanner::Actions {
  public:
    void ring() override {}
    void sendText(std::string_view bytes) override {
        if (bytes.empty() || bytes.size() > 6) std::abort();
    }
    void sendByte(uint8_t) override {}
    void selectFraming(vs::net::Framing) override { ++framings; }
    void enterPacketMode() override {
        if (++switches > 1 || framings == 0) std::abort();
    }
    int framings = 0, switches = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t chunk = size_t(data[0] % 32) + 1;
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    vs::net::TerminalScanner scanner;
    Checks checks;
    for (size_t at = 0; at < bytes.size(); at += chunk) {
        const int before = checks.switches;
        const bool switched =
            scanner.scan(bytes.subspan(at, std::min(chunk, bytes.size() - at)), checks);
        if (switched != (checks.switches == before + 1)) std::abort();
    }
    if (scanner.done() != (checks.switches == 1)) std::abort();
    return 0;
}
