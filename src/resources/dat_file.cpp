#include "resources/dat_file.h"

#include <cstring>

#include "app/error.h"
#include "base/text.h"
#include "resources/archive_manager.h"
#include "resources/scrambled_int.h"

namespace vs::resources {

void DATFile::Open(std::u16string_view name) {
    Close();
    const MappedArchive* archive = nullptr;
    uint32_t index = 0;
    auto* manager = ArchiveManager::instance();
    if (!manager || !manager->Find(name, &archive, &index)) throw app::FileError(name);
    const MappedArchive::Entry& e = archive->entry(index);
    archive_ = archive;
    offset_ = e.offset;
    size_ = e.size;
    position_ = e.offset;
}

void DATFile::Open(std::string_view name) {
    Open(std::u16string_view(base::utf8ToUtf16(name)));
}

int DATFile::Close() {
    if (!archive_) return 0;
    archive_ = nullptr;
    offset_ = size_ = position_ = 0;
    return 1;
}

int DATFile::GetPos() const {
    return archive_ ? int(position_ - offset_) : -1;
}

int DATFile::GetSize() const {
    return archive_ ? int(size_) : -1;
}

bool DATFile::Seek(int offset, int origin) {
    if (!archive_) return false;
    switch (origin) {
        case 0:
            if (offset < 0 || uint32_t(offset) >= size_) return false;
            position_ = offset_ + uint32_t(offset);
            return true;
        case 1: {
            const int64_t target = int64_t(position_) + offset;
            if (target < int64_t(offset_) || target >= int64_t(entryEnd())) return false;
            position_ = uint32_t(target);
            return true;
        }
        case 2:
            if (offset < 0 || uint32_t(offset) >= size_) return false;
            position_ = entryEnd() - uint32_t(offset);
            return true;
        default:
            return false;
    }
}

int DATFile::Read(void* buffer, int count) {
    if (!archive_) return 0;
    const uint32_t n = count < 0 ? size_ : uint32_t(count);
    if (uint64_t(position_) + n > entryEnd()) return 0;
    if (n) std::memcpy(buffer, archive_->base() + position_, n);
    position_ += n;
    return int(n);
}

void DATFile::scanLine(uint32_t& text, uint32_t& whole) const {
    const uint8_t* base = archive_->base();
    const uint32_t end = entryEnd();
    uint32_t p = position_;
    while (p < end && base[p] != '\r' && base[p] != '\n') ++p;
    text = p - position_;
    // A CR takes only an LF along: a lone CR ends its line without eating the next one's byte.
    if (p < end) p += (base[p] == '\r' && p + 1 < end && base[p + 1] == '\n') ? 2 : 1;
    whole = p - position_;
}

bool DATFile::ReadLine(std::string& line) {
    line.clear();
    if (!archive_ || position_ >= entryEnd()) return false;
    uint32_t text = 0, whole = 0;
    scanLine(text, whole);
    line.assign(reinterpret_cast<const char*>(archive_->base() + position_), text);
    position_ += whole;
    return true;
}

int DATFile::ReadLine(char* buffer, int capacity) {
    if (!archive_ || position_ >= entryEnd()) return -1;
    uint32_t text = 0, whole = 0;
    scanLine(text, whole);
    if (capacity < 0 || whole > uint32_t(capacity)) return -1;
    std::memcpy(buffer, archive_->base() + position_, whole);
    position_ += whole;
    return int(whole);
}

const uint8_t* DATFile::GetPointer() const {
    return archive_ ? archive_->base() + position_ : nullptr;
}

std::span<const uint8_t> DATFile::View() const {
    if (!archive_) return {};
    return {archive_->base() + position_, entryEnd() - position_};
}

bool DATFile::ReadScrambledInt(uint32_t& out) {
    if (!archive_) return false;
    const uint32_t position = uint32_t(GetPos());
    std::array<uint8_t, scrambled::kRecordSize> record{};
    if (Read(record.data(), int(record.size())) != int(record.size())) return false;
    return scrambled::decode(record, position, out);
}

bool DATFile::ReadScrambledInt(int32_t& out) {
    uint32_t v = 0;
    if (!ReadScrambledInt(v)) return false;
    out = int32_t(v);
    return true;
}

}  // namespace vs::resources
