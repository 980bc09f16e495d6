#include "mkdata/archive_writer.h"

#include <stdexcept>

#include "base/byte_io.h"
#include "resources/archive_format.h"

namespace vs::mkdata {

namespace fmt = resources::archive_format;

namespace {
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    auto up = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (up(a[i]) != up(b[i])) return false;
    return true;
}
}  // namespace

ArchiveWriter& ArchiveWriter::add(std::string_view name, std::span<const uint8_t> data) {
    if (name.size() > fmt::kMaxNameLength || name.find('\0') != std::string_view::npos)
        throw std::invalid_argument("archive entry name not an 8.3 name: " + std::string(name));
    entries_.push_back(Entry{std::string(name), std::vector<uint8_t>(data.begin(), data.end())});
    return *this;
}

ArchiveWriter& ArchiveWriter::add(std::string_view name, std::string_view data) {
    return add(name, std::span(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
}

bool ArchiveWriter::contains(std::string_view name) const {
    for (const auto& e : entries_)
        if (sameName(e.name, name)) return true;
    return false;
}

std::vector<std::string> ArchiveWriter::names() const {
    std::vector<std::string> out;
    for (const auto& e : entries_) out.push_back(e.name);
    return out;
}

std::vector<uint8_t> ArchiveWriter::build() const {
    const auto count = uint32_t(entries_.size() + 1);
    uint64_t offset = fmt::tableEnd(count);
    base::ByteWriter w;
    w.u32le(count);
    auto entry = [&](std::string_view name) {
        if (offset > 0x7FFFFFFFu) throw std::length_error("archive larger than 2 GiB");
        w.u32le(uint32_t(offset));
        w.bytes(name);
        w.fill(0, fmt::kNameField - name.size());
    };
    for (const auto& e : entries_) {
        entry(e.name);
        offset += e.data.size();
    }
    entry("");  // the closing entry: the end offset and an empty name
    for (const auto& e : entries_) w.bytes(e.data);
    return w.take();
}

}  // namespace vs::mkdata
