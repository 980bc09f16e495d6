#include "resources/mapped_archive.h"

#include <cstring>

#include "base/byte_io.h"
#include "base/log.h"
#include "base/text.h"
#include "resources/archive_format.h"

namespace vs::resources {

namespace fmt = archive_format;

ArchiveError::ArchiveError(std::string_view fileName, std::string_view reason)
    : MyError(base::utf8ToUtf16("Invalid archive : " + std::string(fileName) + " (" +
                                std::string(reason) + ")")) {}

std::string MappedArchive::checkHeader(std::span<const uint8_t> file) {
    base::ByteReader r(file);
    const uint32_t n = r.u32le();
    if (!r.ok()) return base::strprintf("%zu bytes, too short for an entry count", file.size());
    if (n == 0) return "no entries, not even the closing one";
    if (fmt::tableEnd(n) > file.size())
        return base::strprintf("%u entries do not fit in %zu bytes", n, file.size());
    const uint64_t tableEnd = fmt::tableEnd(n);
    uint32_t previous = 0;
    for (uint32_t i = 0; i < n; ++i) {
        r.seek(fmt::entryAt(i));
        const uint32_t offset = r.u32le();
        auto name = r.bytes(fmt::kNameField);
        if (offset > file.size())
            return base::strprintf("entry %u: offset %u past the end of the file (%zu bytes)", i,
                                   offset, file.size());
        if (offset < tableEnd)
            return base::strprintf("entry %u: offset %u inside the entry table", i, offset);
        if (offset > 0x7FFFFFFFu)
            return base::strprintf("entry %u: offset %u too large", i, offset);
        if (offset < previous)
            return base::strprintf("entry %u: offset %u below the previous one (%u)", i, offset,
                                   previous);
        if (std::memchr(name.data(), 0, name.size()) == nullptr)
            return base::strprintf("entry %u: name without its end within 13 bytes", i);
        previous = offset;
    }
    return {};
}

MappedArchive::MappedArchive(std::string fileName) : fileName_(std::move(fileName)) {}

MappedArchive::MappedArchive(std::string fileName, std::unique_ptr<platform::MappedFile> file)
    : fileName_(std::move(fileName)) {
    const std::span<const uint8_t> bytes = file->bytes();
    if (std::string why = checkHeader(bytes); !why.empty()) throw ArchiveError(fileName_, why);
    file_ = std::move(file);
    base::ByteReader r(bytes);
    count_ = r.u32le();
    entries_.reserve(count_ - 1);
    auto offsetOf = [&](uint32_t i) {
        r.seek(fmt::entryAt(i));
        return r.u32le();
    };
    auto nameOf = [&](uint32_t i) {
        const char* p = reinterpret_cast<const char*>(bytes.data() + fmt::entryAt(i) + 4);
        return std::string_view(p, ::strnlen(p, fmt::kNameField));
    };
    endOffset_ = offsetOf(count_ - 1);
    for (uint32_t i = 0; i + 1 < count_; ++i) {
        const uint32_t offset = offsetOf(i);
        entries_.push_back(Entry{offset, offsetOf(i + 1) - offset, nameOf(i)});
    }
}

std::span<const uint8_t> MappedArchive::entryBytes(uint32_t index) const {
    const Entry& e = entry(index);
    return file_->bytes().subspan(e.offset, e.size);
}

}  // namespace vs::resources
