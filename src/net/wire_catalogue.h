#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <variant>
#include <vector>

#include "net/wire_fields.h"

// A catalogue is a variant of wire records; its table finds the parser of an opcode.
namespace vs::net {

template <class Variant>
struct Catalogue {
    using Parser = std::optional<Variant> (*)(std::span<const uint8_t>, const CommandContext*);
    std::array<Parser, 256> parsers{};
    std::array<const char*, 256> names{};
    size_t entries = 0;

    template <class T>
    static std::optional<Variant> parseOne(std::span<const uint8_t> payload,
                                           const CommandContext* context) {
        auto m = parseAs<T>(payload, context);
        if (!m) return std::nullopt;
        return Variant(std::move(*m));
    }
    template <class T>
    constexpr void add() {
        entries += parsers[T::kOpcode] == nullptr;
        parsers[T::kOpcode] = &parseOne<T>;
        if constexpr (requires { T::kName; }) names[T::kOpcode] = T::kName;
    }
    template <size_t... I>
    static constexpr Catalogue make(std::index_sequence<I...>) {
        Catalogue c;
        (c.template add<std::variant_alternative_t<I, Variant>>(), ...);
        return c;
    }
    static constexpr Catalogue make() {
        return make(std::make_index_sequence<std::variant_size_v<Variant>>{});
    }

    std::optional<Variant> parse(std::span<const uint8_t> payload,
                                 const CommandContext* context) const {
        if (payload.empty() || !parsers[payload[0]]) return std::nullopt;
        return parsers[payload[0]](payload, context);
    }
    static uint8_t opcodeOf(const Variant& v) {
        return std::visit([](const auto& m) { return uint8_t(std::decay_t<decltype(m)>::kOpcode); },
                          v);
    }
    static std::vector<uint8_t> build(const Variant& v) {
        return std::visit([](const auto& m) { return net::build(m); }, v);
    }
};

}  // namespace vs::net
