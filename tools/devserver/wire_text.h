#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "net/client_commands.h"
#include "net/server_messages.h"

// The readable form of server messages and client commands, for scripts and traces. A record
// is written as its name and its field values in wire order, as the catalogue's field lists
// give them: numbers, "texts", <hex bytes>, [lists] and {records}. Fields that never vary on
// the wire (constants, padding) are left out.
//
//     kServerMessage 3 "Welcome"
//     checksum-answer 4660
//     kServerDrawObjects [{10 12 5001 32769 0 2}]
namespace vs::devserver {

struct TextValue {
    enum class Kind : uint8_t {
        Number,
        Text,
        Bytes,
        List,    // [ ... ]
        Record,  // { ... }
        Any,     // *: matches any one value
        Rest,    // ...: matches whatever follows
    };
    Kind kind = Kind::Number;
    int64_t number = 0;
    std::u16string text;
    std::vector<uint8_t> bytes;
    std::vector<TextValue> items;
    size_t column = 0;  // 1-based, where the value starts in its line; 0 for printed values
};
using TextValues = std::vector<TextValue>;

// Reads values from a line. Comments start with '#' not followed by a digit. Nothing (and the
// reason, with its column) for a malformed line.
// Columns count from columnBase + 1 (where the text sits in its line).
std::optional<TextValues> parseValues(std::string_view line, std::string& error,
                                      size_t columnBase = 0);
std::string formatValues(const TextValues& values);
// Names in scripts: server messages by their debug names ("kServerMove", "#57"), client
// commands by theirs with hyphens for spaces ("checksum-answer"); "#N" names opcode N in
// either direction.
std::optional<uint8_t> serverOpcodeNamed(std::string_view name);
std::optional<uint8_t> commandOpcodeNamed(std::string_view name);
std::string commandScriptName(uint8_t opcode);

// Values into a record of the catalogue. Nothing, and the reason, when a value is missing, of
// the wrong kind or out of range, or when values are left over.
std::optional<net::ServerMessage> scanServerMessage(uint8_t opcode, const TextValues& values,
                                                    std::string& error);
std::optional<net::ClientCommand> scanClientCommand(uint8_t opcode, const TextValues& values,
                                                    std::string& error);

TextValues printValues(const net::ServerMessage& message);
TextValues printValues(const net::ClientCommand& command);

// Compares expected values (which may hold wildcards) with printed ones: nothing when they
// match, else where and how they differ.
std::optional<std::string> mismatch(const TextValues& expected, const TextValues& actual);

// A command as its script line, with passwords masked; a message as its script line.
std::string describeCommand(const net::ClientCommand& command);
std::string describeMessage(const net::ServerMessage& message);

}  // namespace vs::devserver
