#pragma once
#include <algorithm>
#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "base/byte_io.h"

// Every message and command lays out its body once, as a static `fields(f, m)` function that
// names its fields in wire order. The same function reads a payload (with a WireReader, m
// mutable) and writes one (with a WireWriter, m const), so the two directions cannot drift apart.
namespace vs::net {

using Bytes = std::vector<uint8_t>;

struct CommandContext;
struct ServerEntry;

inline constexpr size_t kAnyLength = size_t(-1);
inline constexpr size_t kText8Bytes = 255;     // a length byte
inline constexpr size_t kText16Bytes = 65535;  // a 16-bit length

// One element of a list or array: a number, a u8-text or a record with fields of its own.
template <class F, class T>
void wireItem(F& f, T& v) {
    using E = std::remove_const_t<T>;
    if constexpr (std::is_same_v<E, uint8_t>)
        f.u8(v);
    else if constexpr (std::is_same_v<E, int8_t>)
        f.i8(v);
    else if constexpr (std::is_same_v<E, uint16_t>)
        f.u16(v);
    else if constexpr (std::is_same_v<E, uint32_t>)
        f.u32(v);
    else if constexpr (std::is_same_v<E, std::u16string>)
        f.text8(v);
    else
        E::fields(f, v);
}

// Reads fields in order. Any shortfall fails the whole message (it is dropped, never half
// applied); reject() marks a value the message may not carry.
class WireReader {
  public:
    explicit WireReader(std::span<const uint8_t> body, const CommandContext* context = nullptr)
        : in_(body), context_(context) {}

    bool ok() const { return in_.ok() && !rejected_; }
    void reject() { rejected_ = true; }

    void u8(uint8_t& v) { v = in_.u8(); }
    void i8(int8_t& v) { v = in_.i8(); }
    void u16(uint16_t& v) { v = in_.u16be(); }
    void i16(int16_t& v) { v = in_.i16be(); }
    void u32(uint32_t& v) { v = in_.u32be(); }
    void flag(bool& v) { v = in_.u8() != 0; }
    // A byte whose bit 7 is a flag of its own.
    void highBit(uint8_t& low, bool& bit7) {
        uint8_t b = in_.u8();
        low = b & 0x7F;
        bit7 = (b & 0x80) != 0;
    }
    // A 16-bit value sent low byte first.
    void u16swapped(uint16_t& v) { v = in_.u16le(); }
    // A byte that travels as the value plus an offset.
    void offsetU8(uint8_t& v, uint8_t offset) { v = uint8_t(in_.u8() - offset); }
    // A byte that says which of two things follow.
    void either(bool& v, uint8_t whenTrue, uint8_t whenFalse) {
        const uint8_t b = in_.u8();
        v = b == whenTrue;
        if (b != whenTrue && b != whenFalse) reject();
    }
    // Bytes whose value the reader does not look at.
    void skip(size_t n) { in_.skip(n); }
    void constant(uint8_t) { in_.u8(); }
    // The 16-bit checksum sent in three bytes.
    void u16in24(uint16_t& v) { v = uint16_t(in_.u24be()); }

    template <class T, size_t N>
    void array(std::array<T, N>& a) {
        for (T& e : a) item(e);
    }
    // A byte whose value the message fixes: the reader takes it as `value` whatever it says.
    void forced(uint8_t& v, uint8_t value) {
        in_.u8();
        v = value;
    }

    // u8-text and u16-text, converted from the code page and cut to maxUnits. maxBytes refuses
    // longer texts (a receiver that takes no more).
    void text8(std::u16string& s, size_t maxUnits = kAnyLength) { text(s, in_.u8(), maxUnits); }
    void text16(std::u16string& s, size_t maxUnits = kAnyLength, size_t maxBytes = kText16Bytes);
    // A u8-text that the reader passes over (the commands that carry an empty text).
    void ignoredText8() { in_.skip(in_.u8()); }
    // A u16-text whose tabs stand for line breaks (carriage returns).
    void text16Tabs(std::u16string& s, size_t maxUnits = kAnyLength);
    // A zero-terminated text.
    void textZ(std::u16string& s);
    // Code-page bytes kept as they came (sent back or stored unchanged).
    void bytes8(Bytes& b) { bytes(b, in_.u8()); }
    void bytes16(Bytes& b, size_t maxBytes = kText16Bytes) {
        const uint16_t n = in_.u16be();
        if (n > maxBytes) reject();
        bytes(b, n);
    }
    // Text to the end of the payload (client packets end in zero bytes, which are not text).
    void textToEnd(std::u16string& s);
    // What the command context knows about a slot (commands whose layout depends on it).
    void spellKind(uint8_t slot, uint8_t& kind);
    void stackSlot(uint8_t slot, bool& stack);
    void bytes(Bytes& b, size_t n);
    void rest(Bytes& b) { bytes(b, in_.remaining()); }
    // The compressed server list: a u16 length and a zlib stream.
    void serverList(std::vector<ServerEntry>& servers);

    template <class T>
    void item(T& v) {
        wireItem(*this, v);
    }
    // Reads `count` items. Storage grows only with items really read, so a count from the wire
    // never sizes an allocation by itself.
    template <class T>
    void items(std::vector<T>& v, size_t count) {
        v.clear();
        for (size_t i = 0; i < count && ok(); ++i) {
            const size_t before = in_.remaining();
            T e{};
            item(e);
            if (!ok() || in_.remaining() == before) return fail();
            v.push_back(std::move(e));
        }
    }
    template <class T>
    void list8(std::vector<T>& v) {
        uint8_t n = 0;
        u8(n);
        items(v, n);
    }
    template <class T>
    void list16(std::vector<T>& v) {
        uint16_t n = 0;
        u16(n);
        items(v, n);
    }
    // Items up to a zero byte (which ends the list and is consumed).
    template <class T>
    void untilZero(std::vector<T>& v) {
        v.clear();
        while (ok()) {
            if (!in_.has(1)) return fail();
            if (in_.rest()[0] == 0) return skip(1);
            T e{};
            item(e);
            if (ok()) v.push_back(std::move(e));
        }
    }
    // A record present only where the message says so.
    template <class T>
    void optional(std::optional<T>& v, bool present) {
        v.reset();
        if (present) item(v.emplace());
    }
    // A record at the end that the sender may leave out; read only when all of it is there.
    template <class T>
    void trailing(std::optional<T>& v) {
        v.reset();
        WireReader probe = *this;
        T e{};
        probe.item(e);
        if (probe.ok()) {
            *this = probe;
            v = std::move(e);
        }
    }
    // An optional tag byte: a zero (or nothing) means none and stays unread.
    void tag(uint8_t& t) {
        t = in_.has(1) ? in_.rest()[0] : 0;
        if (t) skip(1);
    }
    // Count fields for items that follow later: the reader fills them from the wire.
    template <class C>
    static uint8_t count8(const C&) {
        return 0;
    }
    template <class C>
    static uint16_t count16(const C&) {
        return 0;
    }

  private:
    void fail() { in_.fail(); }
    void text(std::u16string& s, size_t n, size_t maxUnits);

    base::ByteReader in_;
    const CommandContext* context_ = nullptr;
    bool rejected_ = false;
};

// Writes the same fields. Texts are converted to the code page and cut on a character boundary
// to what their length field can hold.
class WireWriter {
  public:
    WireWriter() = default;

    std::vector<uint8_t> take() { return out_.take(); }
    void reject() {}

    void u8(uint8_t v) { out_.u8(v); }
    void i8(int8_t v) { out_.u8(uint8_t(v)); }
    void u16(uint16_t v) { out_.u16be(v); }
    void i16(int16_t v) { out_.u16be(uint16_t(v)); }
    void u32(uint32_t v) { out_.u32be(v); }
    void flag(bool v) { out_.u8(v ? 1 : 0); }
    void highBit(uint8_t low, bool bit7) { out_.u8((low & 0x7F) | (bit7 ? 0x80 : 0)); }
    void u16swapped(uint16_t v) { out_.u16le(v); }
    void offsetU8(uint8_t v, uint8_t offset) { out_.u8(uint8_t(v + offset)); }
    void either(bool v, uint8_t whenTrue, uint8_t whenFalse) { out_.u8(v ? whenTrue : whenFalse); }
    void skip(size_t n) { out_.fill(0, n); }
    void constant(uint8_t v) { out_.u8(v); }
    void u16in24(uint16_t v) { out_.u24be(v); }

    template <class T, size_t N>
    void array(const std::array<T, N>& a) {
        for (const T& e : a) item(e);
    }
    void forced(uint8_t, uint8_t value) { out_.u8(value); }

    void text8(const std::u16string& s, size_t = kAnyLength);
    void text16(const std::u16string& s, size_t = kAnyLength, size_t maxBytes = kText16Bytes);
    void ignoredText8() { out_.u8(0); }
    void text16Tabs(const std::u16string& s, size_t = kAnyLength);
    void textZ(const std::u16string& s);
    void bytes8(const Bytes& b);
    void bytes16(const Bytes& b, size_t maxBytes = kText16Bytes);
    void textToEnd(const std::u16string& s);
    void spellKind(uint8_t, uint8_t) {}
    void stackSlot(uint8_t, bool) {}
    void rest(const Bytes& b) { out_.bytes(b); }
    void serverList(const std::vector<ServerEntry>& servers);

    template <class T>
    void item(const T& v) {
        wireItem(*this, v);
    }
    template <class T>
    void items(const std::vector<T>& v, size_t count) {
        for (size_t i = 0; i < count && i < v.size(); ++i) item(v[i]);
    }
    template <class T>
    void list8(const std::vector<T>& v) {
        const uint8_t n = count8(v);
        u8(n);
        items(v, n);
    }
    template <class T>
    void list16(const std::vector<T>& v) {
        const uint16_t n = count16(v);
        u16(n);
        items(v, n);
    }
    template <class T>
    void untilZero(const std::vector<T>& v) {
        for (const T& e : v) item(e);
        u8(0);
    }
    template <class T>
    void optional(const std::optional<T>& v, bool present) {
        if (present) item(v ? *v : T{});
    }
    template <class T>
    void trailing(const std::optional<T>& v) {
        if (v) item(*v);
    }
    void tag(uint8_t t) {
        if (t) u8(t);
    }
    // A count field holds what its list really has, up to what the field can say.
    template <class C>
    static uint8_t count8(const C& c) {
        return uint8_t(std::min<size_t>(c.size(), 255));
    }
    template <class C>
    static uint16_t count16(const C& c) {
        return uint16_t(std::min<size_t>(c.size(), 65535));
    }

  private:
    base::ByteWriter out_;
};

// A message or command: its opcode and its field list.
template <class T>
concept WireRecord = requires(WireReader& r, T& m) {
    { T::kOpcode } -> std::convertible_to<uint8_t>;
    T::fields(r, m);
};

// Parses a payload whose first byte is T's opcode. Extra bytes after the last field are allowed
// (the line framing pads, client packets end in a zero byte).
template <WireRecord T>
std::optional<T> parseAs(std::span<const uint8_t> payload,
                         const CommandContext* context = nullptr) {
    if (payload.empty() || payload[0] != T::kOpcode) return std::nullopt;
    WireReader r(payload.subspan(1), context);
    T m{};
    T::fields(r, m);
    if (!r.ok()) return std::nullopt;
    if constexpr (requires { m.accept(); }) {
        if (!m.accept()) return std::nullopt;
    }
    return m;
}

// The one-argument form, for the named parsers of the catalogue (parseMove, parseLogin, ...).
template <WireRecord T>
std::optional<T> parse(std::span<const uint8_t> payload) {
    return parseAs<T>(payload);
}

template <WireRecord T>
std::vector<uint8_t> build(const T& m) {
    WireWriter w;
    w.u8(T::kOpcode);
    T::fields(w, m);
    return w.take();
}

}  // namespace vs::net
