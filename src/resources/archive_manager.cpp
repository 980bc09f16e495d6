#include "resources/archive_manager.h"

#include "app/error.h"
#include "base/log.h"
#include "base/text.h"

namespace vs::resources {

namespace {

// Entry names are 8.3 names, nearly always ASCII: those skip the code-page converter.
std::u16string decodeName(std::string_view bytes) {
    for (char c : bytes)
        if (uint8_t(c) >= 0x80) return base::CodePage::current().decode(bytes);
    return base::asciiToUtf16(bytes);
}

}  // namespace

ArchiveManager::ArchiveManager(platform::FileMapper& mapper) : mapper_(mapper) {
    directory_.reserve(100);
    instance_ = this;
}

ArchiveManager::~ArchiveManager() {
    directory_.clear();
    archives_.clear();
    if (instance_ == this) instance_ = nullptr;
}

std::u16string ArchiveManager::upperCase(std::u16string_view name) {
    std::u16string key(name);
    for (char16_t& c : key) {
        if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            c = char16_t(c - 0x20);
        else if (c == 0xFF)
            c = 0x178;  // ÿ
    }
    return key;
}

bool ArchiveManager::Mount(std::string_view name) {
    const std::string own(name);
    const std::string parent = "../" + own;
    if (!mapper_.exists(own) && !mapper_.exists(parent)) return false;

    platform::MapResult mapped = mapper_.map(own);
    if (mapped.status == platform::MapResult::Status::OpenFailed) mapped = mapper_.map(parent);
    if (mapped.status == platform::MapResult::Status::MapFailed)
        throw app::Win32Error(mapped.error);
    if (mapped.status == platform::MapResult::Status::OpenFailed) {
        VS_WARN("archive %s exists but cannot be opened (errno %d)", own.c_str(), mapped.error);
        archives_.push_back(std::make_unique<MappedArchive>(own));
        return true;
    }
    auto archive = std::make_unique<MappedArchive>(own, std::move(mapped.file));
    enter(*archive);
    VS_DEBUG("mounted %s: %zu entries, %zu names in all", own.c_str(), archive->entryCount(),
             directory_.size());
    archives_.push_back(std::move(archive));
    return true;
}

void ArchiveManager::enter(const MappedArchive& archive) {
    for (uint32_t i = 0; i < archive.entryCount(); ++i) {
        std::string_view raw = archive.entry(i).name;
        if (raw.empty()) continue;
        // try_emplace keeps an existing key: the first registration wins.
        directory_.try_emplace(upperCase(decodeName(raw)), Location{&archive, i});
    }
}

bool ArchiveManager::Find(std::u16string_view name, const MappedArchive** archive,
                          uint32_t* index) const {
    auto it = directory_.find(upperCase(name));
    if (it == directory_.end()) return false;
    if (archive) *archive = it->second.archive;
    if (index) *index = it->second.index;
    return true;
}

bool ArchiveManager::Find(std::string_view name, const MappedArchive** archive,
                          uint32_t* index) const {
    return Find(base::utf8ToUtf16(name), archive, index);
}

}  // namespace vs::resources
