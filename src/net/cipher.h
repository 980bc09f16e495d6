#pragma once
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vs::net {

// The key of the packet cipher; its length is also the cipher's block size.
constexpr std::string_view kCipherKey = "Kd4vR8wQz";

// How payloads travel once the connection has left terminal mode.
enum class Framing : uint8_t { Binary, Lines };

// Opcodes that travel without encipherment. Each direction and each framing has its own list.
bool sentInClear(Framing framing, uint8_t opcode);      // client to server
bool receivedInClear(Framing framing, uint8_t opcode);  // server to client

// XORs a payload body (the bytes after opcode and counter) with the key stream of counter s.
// It is its own inverse.
void applyKeyStream(std::span<uint8_t> body, uint8_t counter);

// A client payload (opcode first, at least one byte) in enciphered form: the opcode, the
// counter, then the enciphered body; one byte longer than the payload.
std::vector<uint8_t> encipher(std::span<const uint8_t> payload, uint8_t counter);

// A server payload from its enciphered form (opcode, the server's counter, body). Shorter than
// three bytes it has no body: the result is the opcode alone.
std::vector<uint8_t> decipher(std::span<const uint8_t> received);

}  // namespace vs::net
