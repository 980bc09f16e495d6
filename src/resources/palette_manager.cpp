#include "resources/palette_manager.h"

#include <cmath>

#include "app/error.h"
#include "base/log.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"

namespace vs::resources {

namespace {
constexpr const char* kSetFiles[PaletteManager::kTypes] = {
    "TILE.PAL",  nullptr,   "TILEC.PAL",  "HEAD.PAL",    "EMOTION.PAL", "BODY.PAL",  "SWORD.PAL",
    "SPEAR.PAL", "FAN.PAL", "SHIELD.PAL", "MONSTER.PAL", "ITEM.PAL",    "EFFECT.PAL"};
// The families whose colours cycle, in the order they step; HEAD and EMOTION never do.
constexpr int kCycledTypes[] = {0, 5, 2, 12, 8, 10, 11, 9, 7, 6};
// The families darkened for the night; effects keep their own light.
constexpr int kDarkenedTypes[] = {0, 2, 3, 4, 5, 10, 11, 6, 7, 8, 9};

// The palettes of the mounted archives.
class ArchivePaletteFiles final : public PaletteFiles {
public:
    bool Exists(std::string_view name) override {
        const auto* archives = ArchiveManager::instance();
        return archives && archives->Exists(name);
    }
    std::vector<uint8_t> Read(std::string_view name) override {
        DATFile file(name);
        const auto bytes = file.View();
        return {bytes.begin(), bytes.end()};
    }
};

PaletteFiles& archivePaletteFiles() {
    static ArchivePaletteFiles files;
    return files;
}

}  // namespace

const char* PaletteManager::setFileName(int type) {
    return type >= 0 && type < kTypes ? kSetFiles[type] : nullptr;
}

PaletteManager::PaletteManager(PaletteFiles& files) : files_(files) {
    loadAll();
    instance_ = this;
}

PaletteManager::PaletteManager() : PaletteManager(archivePaletteFiles()) {}

void PaletteManager::loadFile(DLPalette& palette, const std::string& name) {
    const std::vector<uint8_t> bytes = files_.Read(name);
    base::ByteReader in(bytes);
    palette.Load(in, name);
}

void PaletteManager::loadAll() {
    loadFile(base_, kBasePalette);
    for (int type = 0; type < kTypes; ++type) {
        if (kSetFiles[type]) loadSet(type);
    }
    adjusted_ = sets_;
    for (int n = 0; n < kSuperSlots; ++n) {
        std::string name = "SUPER0.PAL";
        name[5] = char('0' + n);
        if (files_.Exists(name)) loadFile(super_[size_t(n + 1)], name);
    }
}

PaletteManager::~PaletteManager() {
    if (instance_ == this) instance_ = nullptr;
}

void PaletteManager::loadSet(int type) {
    const char* name = kSetFiles[type];
    const std::vector<uint8_t> bytes = files_.Read(name);
    base::ByteReader in(bytes);
    const uint32_t count = in.u32le();
    if (!in.ok()) {
        VS_WARN("palette set %s has no count", name);
        return;
    }
    // The count is only a promise: palettes are read while the bytes last, and the first one that
    // cannot be read ends the set.
    auto& set = sets_[size_t(type)];
    for (uint32_t i = 0; i < count; ++i) {
        DLPalette p;
        try {
            p.Load(in, name);
        } catch (const app::FileError&) {
            VS_WARN("palette set %s ends after %zu of %u palettes", name, set.size(), count);
            break;
        }
        set.push_back(std::move(p));
    }
}

size_t PaletteManager::setSize(int type) const {
    return type >= 0 && type < kTypes ? sets_[size_t(type)].size() : 0;
}

const std::vector<DLPalette>* PaletteManager::set(int type, bool adjusted) const {
    if (type < 0 || type >= kTypes || !kSetFiles[type]) return nullptr;
    return adjusted ? &adjusted_[size_t(type)] : &sets_[size_t(type)];
}

const DLPalette* PaletteManager::GetPalette(int type, int number, int slot) const {
    if (slot >= 1 && slot <= kSuperSlots) return &super_[size_t(slot)];
    const auto* s = set(type, useAdjusted_);
    if (!s || s->empty()) return &base_;
    const int index = number % int(s->size());
    if (index < 0) return &base_;
    return &(*s)[size_t(index)];
}

const DLPalette* PaletteManager::GetPaletteByName(const char* name) {
    if (!name) return &base_;
    for (const auto& [n, p] : byName_) {
        if (n == name) return p.get();
    }
    auto p = std::make_unique<DLPalette>();
    try {
        loadFile(*p, name);
    } catch (const app::Error&) {
        return &base_;
    }
    byName_.emplace_back(name, std::move(p));
    return byName_.back().second.get();
}

void PaletteManager::SetBrightness(float factor) {
    if (factor == brightness_) return;
    brightness_ = factor;
    const double scaled = double(factor) * 32.0 + 0.5;
    // The level keeps only its low 8 bits; a factor beyond any use gives level 0.
    const uint8_t level =
        uint8_t(std::isfinite(scaled) && std::fabs(scaled) < 1e9 ? int64_t(scaled) : 0);
    const PixelFormat f = currentPixelFormat();
    for (int type : kDarkenedTypes) {
        const auto& from = sets_[size_t(type)];
        auto& to = adjusted_[size_t(type)];
        for (size_t i = 0; i < from.size() && i < to.size(); ++i) {
            for (int c = 1; c < int(DLPalette::kColors); ++c)
                to[i].SetColor(c, scaleColor(f, from[i].GetColor(c), level));
        }
    }
}

void PaletteManager::AnimateStep() {
    for (auto it = byName_.rbegin(); it != byName_.rend(); ++it) it->second->Rotate();
    auto& sets = shadowOn_ && shadowOn_() ? sets_ : adjusted_;
    for (int type : kCycledTypes) {
        for (DLPalette& p : sets[size_t(type)]) p.Rotate();
    }
}

}  // namespace vs::resources
