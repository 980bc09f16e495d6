#include "net/client_commands.h"

#include <set>

#include "net/wire_catalogue.h"

namespace vs::net {

namespace {
constexpr auto kCatalogue = Catalogue<ClientCommand>::make();
static_assert(kCatalogue.entries == std::variant_size_v<ClientCommand>,
              "two commands of the catalogue share an opcode");

Bytes encoded(const auto& write) {
    WireWriter w;
    write(w);
    return w.take();
}
}  // namespace

std::optional<ClientCommand> parseClientCommand(std::span<const uint8_t> payload,
                                                const CommandContext& context) {
    return kCatalogue.parse(payload, &context);
}

uint8_t opcodeOf(const ClientCommand& command) {
    return kCatalogue.opcodeOf(command);
}

std::vector<uint8_t> build(const ClientCommand& command) {
    return kCatalogue.build(command);
}

const char* clientCommandName(uint8_t opcode) {
    return kCatalogue.names[opcode];
}

std::optional<CmdCast> parseCmdCast(std::span<const uint8_t> payload,
                                    const CommandContext& context) {
    return parseAs<CmdCast>(payload, &context);
}

std::optional<CmdMixItems> parseCmdMixItems(std::span<const uint8_t> payload,
                                            const CommandContext& context) {
    return parseAs<CmdMixItems>(payload, &context);
}

void WireReader::spellKind(uint8_t slot, uint8_t& kind) {
    kind = context_ && context_->spellKind ? context_->spellKind(slot) : 0;
}

void WireReader::stackSlot(uint8_t slot, bool& stack) {
    stack = context_ && context_->stackSlot && context_->stackSlot(slot);
}

CmdNameListUpload CmdNameListUpload::fromList(const std::vector<std::u16string>& list) {
    CmdNameListUpload c;
    std::set<std::u16string> seen;
    for (const auto& name : list) {
        if (!name.empty() && seen.insert(name).second) c.names.push_back(name);
    }
    return c;
}

CmdDialogAnswer& CmdDialogAnswer::addText(const std::u16string& text) {
    const Bytes b = encoded([&](WireWriter& w) { w.text8(text); });
    choice.insert(choice.end(), b.begin(), b.end());
    return *this;
}

CmdDialogAnswer& CmdDialogAnswer::addArgument(const Bytes& argument) {
    const Bytes b = encoded([&](WireWriter& w) { w.bytes8(argument); });
    choice.insert(choice.end(), b.begin(), b.end());
    return *this;
}

CmdDialogAnswer& CmdDialogAnswer::addSlot(uint8_t slot) {
    choice.push_back(slot);
    return *this;
}

}  // namespace vs::net
