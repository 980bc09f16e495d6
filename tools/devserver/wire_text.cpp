#include "devserver/wire_text.h"

#include <algorithm>
#include <array>
#include <limits>
#include <type_traits>
#include <utility>
#include <variant>

#include "base/log.h"
#include "base/text.h"
#include "net/packet_trace.h"

namespace vs::devserver {

namespace {

using base::strprintf;
using Kind = TextValue::Kind;
using net::Bytes;

TextValue numberValue(int64_t n) {
    TextValue v;
    v.number = n;
    return v;
}

const char* kindName(Kind k) {
    switch (k) {
        case Kind::Number:
            return "a number";
        case Kind::Text:
            return "a \"text\"";
        case Kind::Bytes:
            return "<bytes>";
        case Kind::List:
            return "a [list]";
        case Kind::Record:
            return "a {record}";
        case Kind::Any:
            return "*";
        case Kind::Rest:
            return "...";
    }
    return "a value";
}

// ---- reading a line ----------------------------------------------------------------------------

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDelimiter(char c) {
    return isBlank(c) || c == '[' || c == ']' || c == '{' || c == '}' || c == '<' || c == '>' ||
           c == '"';
}
int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<int64_t> parseNumber(std::string_view t) {
    bool negative = false;
    if (!t.empty() && t[0] == '-') {
        negative = true;
        t.remove_prefix(1);
    }
    int base = 10;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        t.remove_prefix(2);
    }
    if (t.empty()) return std::nullopt;
    uint64_t v = 0;
    for (char c : t) {
        const int d = base == 16 ? hexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (d < 0) return std::nullopt;
        if (v > (uint64_t(1) << 40)) return std::nullopt;  // far past any field
        v = v * uint64_t(base) + uint64_t(d);
    }
    return negative ? -int64_t(v) : int64_t(v);
}

class LineReader {
  public:
    LineReader(std::string_view line, size_t columnBase) : s_(line), base_(columnBase) {}

    // Values up to the end of the line, or up to `close` inside a group.
    bool values(TextValues& out, char close) {
        for (;;) {
            while (at_ < s_.size() && isBlank(s_[at_])) ++at_;
            if (at_ == s_.size() || startsComment()) {
                if (close) return fail(strprintf("'%c' missing", close));
                at_ = s_.size();
                return true;
            }
            const char c = s_[at_];
            if (c == close) {
                ++at_;
                return true;
            }
            if (c == ']' || c == '}' || c == '>') return fail(strprintf("unexpected '%c'", c));
            TextValue v;
            v.column = column();
            if (c == '[' || c == '{') {
                ++at_;
                v.kind = c == '[' ? Kind::List : Kind::Record;
                if (++depth_ > kMaxDepth) return fail("groups nested too deep");
                if (!values(v.items, c == '[' ? ']' : '}')) return false;
                --depth_;
            } else if (c == '"') {
                v.kind = Kind::Text;
                if (!text(v.text)) return false;
            } else if (c == '<') {
                v.kind = Kind::Bytes;
                if (!bytes(v.bytes)) return false;
            } else {
                const size_t start = at_;
                while (at_ < s_.size() && !isDelimiter(s_[at_])) ++at_;
                const std::string_view t = s_.substr(start, at_ - start);
                if (t == "*") {
                    v.kind = Kind::Any;
                } else if (t == "...") {
                    v.kind = Kind::Rest;
                } else if (auto n = parseNumber(t)) {
                    v.number = *n;
                } else {
                    at_ = start;
                    return fail("not a value: " + std::string(t));
                }
            }
            out.push_back(std::move(v));
        }
    }
    const std::string& error() const { return error_; }

  private:
    static constexpr int kMaxDepth = 16;

    size_t column() const { return base_ + at_ + 1; }
    bool startsComment() const {
        return s_[at_] == '#' && (at_ + 1 == s_.size() || s_[at_ + 1] < '0' || s_[at_ + 1] > '9');
    }
    bool fail(const std::string& why) {
        if (error_.empty()) error_ = strprintf("column %zu: %s", column(), why.c_str());
        return false;
    }
    bool text(std::u16string& out) {
        ++at_;
        std::string run;  // UTF-8 between escapes
        auto flush = [&] {
            out += base::utf8ToUtf16(run);
            run.clear();
        };
        while (at_ < s_.size() && s_[at_] != '"') {
            char c = s_[at_++];
            if (c != '\\') {
                run += c;
                continue;
            }
            if (at_ == s_.size()) break;
            c = s_[at_++];
            switch (c) {
                case 'n':
                    run += '\n';
                    break;
                case 'r':
                    run += '\r';
                    break;
                case 't':
                    run += '\t';
                    break;
                case '"':
                case '\\':
                    run += c;
                    break;
                case 'x': {
                    const int hi = at_ < s_.size() ? hexDigit(s_[at_]) : -1;
                    const int lo = at_ + 1 < s_.size() ? hexDigit(s_[at_ + 1]) : -1;
                    if (hi < 0 || lo < 0) return fail("\\x takes two hex digits");
                    at_ += 2;
                    flush();
                    out += char16_t(hi * 16 + lo);
                    break;
                }
                default:
                    --at_;
                    return fail(strprintf("unknown escape \\%c", c));
            }
        }
        if (at_ == s_.size()) return fail("text not closed");
        ++at_;
        flush();
        return true;
    }
    bool bytes(std::vector<uint8_t>& out) {
        ++at_;
        int high = -1;
        while (at_ < s_.size() && s_[at_] != '>') {
            const char c = s_[at_];
            if (isBlank(c)) {
                if (high >= 0) return fail("bytes take two hex digits each");
                ++at_;
                continue;
            }
            const int d = hexDigit(c);
            if (d < 0) return fail("not a hex digit");
            if (high < 0) {
                high = d;
            } else {
                out.push_back(uint8_t(high * 16 + d));
                high = -1;
            }
            ++at_;
        }
        if (at_ == s_.size()) return fail("'>' missing");
        if (high >= 0) return fail("bytes take two hex digits each");
        ++at_;
        return true;
    }

    std::string_view s_;
    size_t base_;
    size_t at_ = 0;
    int depth_ = 0;
    std::string error_;
};

// ---- writing values ----------------------------------------------------------------------------

void formatText(std::string& out, const std::u16string& t) {
    out += '"';
    std::u16string run;
    auto flush = [&] {
        out += base::utf16ToUtf8(run);
        run.clear();
    };
    for (char16_t c : t) {
        const char* escape = c == '"'    ? "\\\""
                             : c == '\\' ? "\\\\"
                             : c == '\n' ? "\\n"
                             : c == '\r' ? "\\r"
                             : c == '\t' ? "\\t"
                                         : nullptr;
        if (escape || c < 0x20 || c == 0x7F) {
            flush();
            out += escape ? escape : strprintf("\\x%02x", unsigned(c));
        } else {
            run += c;
        }
    }
    flush();
    out += '"';
}

void formatValue(std::string& out, const TextValue& v) {
    switch (v.kind) {
        case Kind::Number:
            out += std::to_string(v.number);
            break;
        case Kind::Text:
            formatText(out, v.text);
            break;
        case Kind::Bytes:
            out += '<';
            for (size_t i = 0; i < v.bytes.size(); ++i)
                out += strprintf(i ? " %02x" : "%02x", v.bytes[i]);
            out += '>';
            break;
        case Kind::List:
        case Kind::Record:
            out += v.kind == Kind::List ? '[' : '{';
            for (size_t i = 0; i < v.items.size(); ++i) {
                if (i) out += ' ';
                formatValue(out, v.items[i]);
            }
            out += v.kind == Kind::List ? ']' : '}';
            break;
        case Kind::Any:
            out += '*';
            break;
        case Kind::Rest:
            out += "...";
            break;
    }
}

std::string formatOne(const TextValue& v) {
    std::string s;
    formatValue(s, v);
    return s;
}

// ---- the catalogue's fields as values ----------------------------------------------------------

template <class T>
constexpr bool isRecord = std::is_class_v<T> && !std::is_same_v<T, std::u16string>;

// Walks a record's fields as a writer does (the record is const) and keeps their values.
class FieldPrinter {
  public:
    TextValues take() { return std::move(groups_.front()); }
    void reject() {}

    void u8(uint8_t v) { number(v); }
    void i8(int8_t v) { number(v); }
    void u16(uint16_t v) { number(v); }
    void i16(int16_t v) { number(v); }
    void u32(uint32_t v) { number(v); }
    void flag(bool v) { number(v); }
    void highBit(uint8_t low, bool bit7) {
        number(low);
        number(bit7);
    }
    void u16swapped(uint16_t v) { number(v); }
    void offsetU8(uint8_t v, uint8_t) { number(v); }
    void either(bool v, uint8_t, uint8_t) { number(v); }
    void skip(size_t) {}
    void constant(uint8_t) {}
    void u16in24(uint16_t v) { number(v); }
    template <class T, size_t N>
    void array(const std::array<T, N>& a) {
        open(Kind::List);
        for (const T& e : a) item(e);
        close();
    }
    void forced(uint8_t, uint8_t) {}

    void text8(const std::u16string& s, size_t = net::kAnyLength) { text(s); }
    void text16(const std::u16string& s, size_t = net::kAnyLength, size_t = 0) { text(s); }
    void ignoredText8() {}
    void text16Tabs(const std::u16string& s, size_t = net::kAnyLength) { text(s); }
    void textZ(const std::u16string& s) { text(s); }
    void bytes8(const Bytes& b) { bytes(b); }
    void bytes16(const Bytes& b, size_t = 0) { bytes(b); }
    void textToEnd(const std::u16string& s) { text(s); }
    void spellKind(uint8_t, uint8_t) {}
    void stackSlot(uint8_t, bool) {}
    void rest(const Bytes& b) { bytes(b); }
    void serverList(const std::vector<net::ServerEntry>& servers) {
        open(Kind::List);
        for (const auto& e : servers) {
            open(Kind::Record);
            number(e.id);
            number(e.address);
            number(e.port);
            text(e.name);
            text(e.description);
            text(e.more);
            close();
        }
        close();
    }

    template <class T>
    void item(const T& v) {
        if constexpr (isRecord<T>) {
            open(Kind::Record);
            T::fields(*this, v);
            close();
        } else {
            net::wireItem(*this, v);
        }
    }
    template <class T>
    void items(const std::vector<T>& v, size_t count) {
        open(Kind::List);
        for (size_t i = 0; i < count && i < v.size(); ++i) item(v[i]);
        close();
    }
    template <class T>
    void list8(const std::vector<T>& v) {
        items(v, count8(v));
    }
    template <class T>
    void list16(const std::vector<T>& v) {
        items(v, count16(v));
    }
    template <class T>
    void untilZero(const std::vector<T>& v) {
        items(v, v.size());
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
        if (t) number(t);
    }
    template <class C>
    static uint8_t count8(const C& c) {
        return net::WireWriter::count8(c);
    }
    template <class C>
    static uint16_t count16(const C& c) {
        return net::WireWriter::count16(c);
    }

  private:
    void number(int64_t n) { groups_.back().push_back(numberValue(n)); }
    void text(const std::u16string& s) {
        TextValue v;
        v.kind = Kind::Text;
        v.text = s;
        groups_.back().push_back(std::move(v));
    }
    void bytes(const Bytes& b) {
        TextValue v;
        v.kind = Kind::Bytes;
        v.bytes = b;
        groups_.back().push_back(std::move(v));
    }
    void open(Kind k) {
        kinds_.push_back(k);
        groups_.emplace_back();
    }
    void close() {
        TextValue v;
        v.kind = kinds_.back();
        v.items = std::move(groups_.back());
        kinds_.pop_back();
        groups_.pop_back();
        groups_.back().push_back(std::move(v));
    }

    std::vector<TextValues> groups_{1};
    std::vector<Kind> kinds_;
};

// Walks a record's fields as a reader does (the record is filled) and takes their values from
// a line, in order. The first problem stops it; the fields function runs on harmlessly.
class FieldScanner {
  public:
    explicit FieldScanner(const TextValues& values) { levels_.push_back({&values, 0, 0}); }

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    // Every value must have been taken.
    void finish() {
        const Level& l = levels_.back();
        if (ok() && l.at < l.values->size())
            fail(l.values->at(l.at), "one value too many (or more)");
    }
    void reject() {
        if (ok())
            error_ = last_ ? at(*last_, "this value is out of range here")
                           : std::string("a value is out of range");
    }

    void u8(uint8_t& v) { number(v); }
    void i8(int8_t& v) { number(v); }
    void u16(uint16_t& v) { number(v); }
    void i16(int16_t& v) { number(v); }
    void u32(uint32_t& v) { number(v); }
    void flag(bool& v) { v = range(0, 1); }
    void highBit(uint8_t& low, bool& bit7) {
        low = uint8_t(range(0, 127));
        bit7 = range(0, 1);
    }
    void u16swapped(uint16_t& v) { number(v); }
    void offsetU8(uint8_t& v, uint8_t) { number(v); }
    void either(bool& v, uint8_t, uint8_t) { v = range(0, 1); }
    void skip(size_t) {}
    void constant(uint8_t) {}
    void u16in24(uint16_t& v) { number(v); }
    template <class T, size_t N>
    void array(std::array<T, N>& a) {
        if (!enter(Kind::List, N)) return;
        for (T& e : a) item(e);
        leave();
    }
    void forced(uint8_t& v, uint8_t value) { v = value; }

    void text8(std::u16string& s, size_t = net::kAnyLength) { text(s); }
    void text16(std::u16string& s, size_t = net::kAnyLength, size_t = 0) { text(s); }
    void ignoredText8() {}
    void text16Tabs(std::u16string& s, size_t = net::kAnyLength) { text(s); }
    void textZ(std::u16string& s) { text(s); }
    void bytes8(Bytes& b) { bytes(b, net::kText8Bytes); }
    void bytes16(Bytes& b, size_t maxBytes = net::kText16Bytes) { bytes(b, maxBytes); }
    void textToEnd(std::u16string& s) { text(s); }
    void spellKind(uint8_t, uint8_t&) {}
    void stackSlot(uint8_t, bool&) {}
    void rest(Bytes& b) { bytes(b, std::numeric_limits<size_t>::max()); }
    void serverList(std::vector<net::ServerEntry>& servers) {
        const TextValue* list = take(Kind::List);
        if (!list) return;
        servers.clear();
        levels_.push_back({&list->items, 0, list->column});
        while (ok() && more()) {
            net::ServerEntry& e = servers.emplace_back();
            if (!enter(Kind::Record, 6)) break;
            u8(e.id);
            u32(e.address);
            u16(e.port);
            text(e.name);
            text(e.description);
            text(e.more);
            leave();
        }
        leave();
    }

    template <class T>
    void item(T& v) {
        if constexpr (isRecord<T>) {
            if (!enter(Kind::Record)) return;
            T::fields(*this, v);
            leave();
        } else {
            net::wireItem(*this, v);
        }
    }
    template <class T>
    void items(std::vector<T>& v, size_t count) {
        list(v, count, count);
    }
    template <class T>
    void list8(std::vector<T>& v) {
        list(v, std::nullopt, 255);
    }
    template <class T>
    void list16(std::vector<T>& v) {
        list(v, std::nullopt, 65535);
    }
    template <class T>
    void untilZero(std::vector<T>& v) {
        list(v, std::nullopt, std::numeric_limits<size_t>::max());
    }
    template <class T>
    void optional(std::optional<T>& v, bool present) {
        v.reset();
        if (present) item(v.emplace());
    }
    template <class T>
    void trailing(std::optional<T>& v) {
        v.reset();
        if (ok() && more()) item(v.emplace());
    }
    void tag(uint8_t& t) { t = ok() && more() ? uint8_t(range(0, 255)) : 0; }
    template <class C>
    static uint8_t count8(const C&) {
        return 0;
    }
    template <class C>
    static uint16_t count16(const C&) {
        return 0;
    }

  private:
    struct Level {
        const TextValues* values;
        size_t at;
        size_t column;  // of the group; 0 at the top
    };

    static std::string at(const TextValue& v, const std::string& why) {
        return v.column ? strprintf("column %zu: %s", v.column, why.c_str()) : why;
    }
    void fail(const TextValue& v, const std::string& why) {
        if (ok()) error_ = at(v, why);
    }
    bool more() const { return levels_.back().at < levels_.back().values->size(); }
    // The next value, which must be of the kind.
    const TextValue* take(Kind kind) {
        if (!ok()) return nullptr;
        Level& l = levels_.back();
        if (l.at == l.values->size()) {
            error_ = strprintf("%s missing", kindName(kind));
            if (l.column) error_ = strprintf("column %zu: group too short: ", l.column) + error_;
            return nullptr;
        }
        const TextValue& v = (*l.values)[l.at++];
        last_ = &v;
        if (v.kind == Kind::Any || v.kind == Kind::Rest) {
            fail(v, "wildcards are for expected commands only");
            return nullptr;
        }
        if (v.kind != kind) {
            fail(v, strprintf("%s expected, not %s", kindName(kind), kindName(v.kind)));
            return nullptr;
        }
        return &v;
    }
    int64_t range(int64_t lo, int64_t hi) {
        const TextValue* v = take(Kind::Number);
        if (!v) return 0;
        if (v->number < lo || v->number > hi) {
            fail(*v, strprintf("a number from %lld to %lld expected", static_cast<long long>(lo),
                               static_cast<long long>(hi)));
            return 0;
        }
        return v->number;
    }
    template <class T>
    void number(T& out) {
        out = T(range(std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
    }
    void text(std::u16string& s) {
        if (const TextValue* v = take(Kind::Text)) s = v->text;
    }
    void bytes(Bytes& b, size_t maxBytes) {
        const TextValue* v = take(Kind::Bytes);
        if (!v) return;
        if (v->bytes.size() > maxBytes)
            return fail(*v, strprintf("at most %zu bytes here", maxBytes));
        b = v->bytes;
    }
    // Opens the next value as a group; `size`, when given, is the number of items it must have.
    bool enter(Kind kind, std::optional<size_t> size = std::nullopt) {
        const TextValue* g = take(kind);
        if (!g) return false;
        if (size && g->items.size() != *size) {
            fail(*g, strprintf("%zu items expected, not %zu", *size, g->items.size()));
            return false;
        }
        levels_.push_back({&g->items, 0, g->column});
        return true;
    }
    void leave() {
        finish();
        levels_.pop_back();
    }
    template <class T>
    void list(std::vector<T>& v, std::optional<size_t> size, size_t maxItems) {
        v.clear();
        const TextValue* g =
            ok() && more() ? &levels_.back().values->at(levels_.back().at) : nullptr;
        if (g && g->kind == Kind::List && g->items.size() > maxItems)
            return fail(*g, strprintf("at most %zu items here", maxItems));
        if (!enter(Kind::List, size)) return;
        while (ok() && more()) item(v.emplace_back());
        leave();
    }

    std::vector<Level> levels_;
    const TextValue* last_ = nullptr;
    std::string error_;
};

template <class Variant>
TextValues printAny(const Variant& v) {
    return std::visit(
        [](const auto& m) {
            FieldPrinter p;
            std::decay_t<decltype(m)>::fields(p, m);
            return p.take();
        },
        v);
}

template <class Variant, class T>
std::optional<Variant> scanOne(const TextValues& values, std::string& error) {
    T m{};
    FieldScanner s(values);
    T::fields(s, m);
    s.finish();
    if (!s.ok()) {
        error = s.error();
        return std::nullopt;
    }
    return Variant(std::move(m));
}

template <class Variant, size_t... I>
std::optional<Variant> scanAny(uint8_t opcode, const TextValues& values, std::string& error,
                               std::index_sequence<I...>) {
    std::optional<Variant> out;
    const bool found =
        ((std::variant_alternative_t<I, Variant>::kOpcode == opcode
              ? (out = scanOne<Variant, std::variant_alternative_t<I, Variant>>(values, error),
                 true)
              : false) ||
         ...);
    if (!found) error = strprintf("nothing in the catalogue has opcode %u", opcode);
    return out;
}

template <class Variant>
std::optional<Variant> scanAny(uint8_t opcode, const TextValues& values, std::string& error) {
    return scanAny<Variant>(opcode, values, error,
                            std::make_index_sequence<std::variant_size_v<Variant>>{});
}

std::optional<uint8_t> opcodeNumber(std::string_view name) {
    if (name.size() < 2 || name[0] != '#') return std::nullopt;
    const auto n = parseNumber(name.substr(1));
    if (!n || *n < 0 || *n > 255) return std::nullopt;
    return uint8_t(*n);
}

// Client commands whose texts hold passwords: the places of those texts among the values.
struct Secrets {
    uint8_t opcode;
    std::array<int8_t, 2> values;
};
constexpr Secrets kSecrets[] = {
    {net::kCmdNameCheck, {1, -1}},
    {net::kCmdLogin, {1, -1}},
    {net::kCmdChangePassword, {1, 2}},
};

bool matchList(const TextValues& e, const TextValues& a, std::string& why);

bool matchValue(const TextValue& e, const TextValue& a, std::string& why) {
    bool same = false;
    if (e.kind == Kind::Any) return true;
    if (e.kind == a.kind) {
        switch (e.kind) {
            case Kind::Number:
                same = e.number == a.number;
                break;
            case Kind::Text:
                same = e.text == a.text;
                break;
            case Kind::Bytes:
                same = e.bytes == a.bytes;
                break;
            case Kind::List:
            case Kind::Record:
                return matchList(e.items, a.items, why);
            default:
                break;
        }
    }
    if (!same)
        why = strprintf("column %zu: %s expected, got %s", e.column, formatOne(e).c_str(),
                        formatOne(a).c_str());
    return same;
}

bool matchList(const TextValues& e, const TextValues& a, std::string& why) {
    for (size_t i = 0; i < e.size(); ++i) {
        if (e[i].kind == Kind::Rest) return true;
        if (i == a.size()) {
            why = strprintf("column %zu: %s expected, got no more values", e[i].column,
                            formatOne(e[i]).c_str());
            return false;
        }
        if (!matchValue(e[i], a[i], why)) return false;
    }
    if (a.size() > e.size()) {
        why = strprintf("more values than expected: %s", formatOne(a[e.size()]).c_str());
        return false;
    }
    return true;
}

}  // namespace

std::optional<TextValues> parseValues(std::string_view line, std::string& error,
                                      size_t columnBase) {
    LineReader r(line, columnBase);
    TextValues v;
    if (!r.values(v, 0)) {
        error = r.error();
        return std::nullopt;
    }
    return v;
}

std::string formatValues(const TextValues& values) {
    std::string s;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i) s += ' ';
        formatValue(s, values[i]);
    }
    return s;
}

std::optional<uint8_t> serverOpcodeNamed(std::string_view name) {
    auto opcode = opcodeNumber(name);
    if (!opcode) {
        const int n = net::serverOpcodeByName(name);
        if (n >= 0) opcode = uint8_t(n);
    }
    if (opcode && net::isCatalogued(*opcode)) return opcode;
    return std::nullopt;
}

std::optional<uint8_t> commandOpcodeNamed(std::string_view name) {
    if (auto opcode = opcodeNumber(name)) {
        if (net::clientCommandName(*opcode)) return opcode;
        return std::nullopt;
    }
    for (int op = 0; op < 256; ++op) {
        if (net::clientCommandName(uint8_t(op)) && commandScriptName(uint8_t(op)) == name)
            return uint8_t(op);
    }
    return std::nullopt;
}

std::string commandScriptName(uint8_t opcode) {
    const char* name = net::clientCommandName(opcode);
    if (!name) return "#" + std::to_string(opcode);
    std::string s = name;
    std::replace(s.begin(), s.end(), ' ', '-');
    return s;
}

std::optional<net::ServerMessage> scanServerMessage(uint8_t opcode, const TextValues& values,
                                                    std::string& error) {
    return scanAny<net::ServerMessage>(opcode, values, error);
}

std::optional<net::ClientCommand> scanClientCommand(uint8_t opcode, const TextValues& values,
                                                    std::string& error) {
    return scanAny<net::ClientCommand>(opcode, values, error);
}

TextValues printValues(const net::ServerMessage& message) {
    return printAny(message);
}

TextValues printValues(const net::ClientCommand& command) {
    return printAny(command);
}

std::optional<std::string> mismatch(const TextValues& expected, const TextValues& actual) {
    std::string why;
    if (matchList(expected, actual, why)) return std::nullopt;
    return why;
}

std::string describeCommand(const net::ClientCommand& command) {
    const uint8_t opcode = net::opcodeOf(command);
    TextValues values = printValues(command);
    for (const Secrets& s : kSecrets) {
        if (s.opcode != opcode) continue;
        for (int8_t i : s.values) {
            if (i >= 0 && size_t(i) < values.size() && values[size_t(i)].kind == Kind::Text)
                values[size_t(i)].text.assign(values[size_t(i)].text.size(), u'*');
        }
    }
    std::string s = commandScriptName(opcode);
    if (!values.empty()) s += ' ' + formatValues(values);
    return s;
}

std::string describeMessage(const net::ServerMessage& message) {
    const char* name = net::serverMessageName(net::opcodeOf(message));
    std::string s = name ? name : "#" + std::to_string(net::opcodeOf(message));
    const TextValues values = printValues(message);
    if (!values.empty()) s += ' ' + formatValues(values);
    return s;
}

}  // namespace vs::devserver
