#include "net/wire_fields.h"

#include "base/text.h"

namespace vs::net {

namespace {
const base::CodePage& codePage() {
    return base::CodePage::current();
}

std::u16string tabsToBreaks(std::u16string s) {
    for (char16_t& c : s) {
        if (c == u'\t') c = u'\r';
    }
    return s;
}
}  // namespace

void WireReader::text(std::u16string& s, size_t n, size_t maxUnits) {
    auto b = in_.bytes(n);
    s = codePage().decode(b);
    if (s.size() > maxUnits) s.resize(maxUnits);
}

void WireReader::text16(std::u16string& s, size_t maxUnits, size_t maxBytes) {
    const uint16_t n = in_.u16be();
    if (n > maxBytes) reject();
    text(s, n, maxUnits);
}

void WireReader::text16Tabs(std::u16string& s, size_t maxUnits) {
    text16(s, maxUnits);
    s = tabsToBreaks(std::move(s));
}

void WireReader::textZ(std::u16string& s) {
    auto rest = in_.rest();
    size_t n = 0;
    while (n < rest.size() && rest[n] != 0) ++n;
    if (n == rest.size()) return fail();  // no terminator
    s = codePage().decode(in_.bytes(n));
    in_.skip(1);
}

void WireReader::textToEnd(std::u16string& s) {
    auto rest = in_.bytes(in_.remaining());
    size_t n = rest.size();
    while (n > 0 && rest[n - 1] == 0) --n;
    s = codePage().decode(rest.first(n));
}

void WireReader::bytes(Bytes& b, size_t n) {
    auto s = in_.bytes(n);
    b.assign(s.begin(), s.end());
}

void WireWriter::text8(const std::u16string& s, size_t) {
    const std::string e = codePage().encodeLimited(s, kText8Bytes);
    out_.u8(uint32_t(e.size()));
    out_.bytes(e);
}

void WireWriter::text16(const std::u16string& s, size_t, size_t maxBytes) {
    const std::string e = codePage().encodeLimited(s, std::min(maxBytes, kText16Bytes));
    out_.u16be(uint32_t(e.size()));
    out_.bytes(e);
}

void WireWriter::text16Tabs(const std::u16string& s, size_t maxUnits) {
    std::u16string t = s;
    for (char16_t& c : t) {
        if (c == u'\r') c = u'\t';
    }
    text16(t, maxUnits);
}

void WireWriter::textZ(const std::u16string& s) {
    std::string e = codePage().encode(s);
    e = e.substr(0, e.find('\0'));
    out_.bytes(e);
    out_.u8(0);
}

void WireWriter::bytes8(const Bytes& b) {
    const size_t n = std::min<size_t>(b.size(), kText8Bytes);
    out_.u8(uint32_t(n));
    out_.bytes(std::span(b.data(), n));
}

void WireWriter::textToEnd(const std::u16string& s) {
    out_.bytes(codePage().encode(s));
}

void WireWriter::bytes16(const Bytes& b, size_t maxBytes) {
    const size_t n = std::min({b.size(), maxBytes, kText16Bytes});
    out_.u16be(uint32_t(n));
    out_.bytes(std::span(b.data(), n));
}

}  // namespace vs::net
