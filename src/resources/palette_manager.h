#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "resources/palette.h"

namespace vs::resources {

// Where the palette manager reads its files.
class PaletteFiles {
public:
    virtual ~PaletteFiles() = default;
    virtual bool Exists(std::string_view name) = 0;
    // The whole file; throws FileError when it cannot be opened or read.
    virtual std::vector<uint8_t> Read(std::string_view name) = 0;
};

// Every palette of the program: the base palette, one set per image family with darkened copies
// for the night, the super palettes and the palettes loaded by name. Callers keep the pointers it
// hands out, so that cycling and brightness changes reach everything drawn afterwards.
class PaletteManager {
public:
    static constexpr int kTypes = 13;
    static constexpr int kSuperSlots = 7;
    static constexpr const char* kBasePalette = "marvu.pal";

    // Loads everything the program needs; a missing base palette or set file throws FileError.
    // Colours are converted to the current pixel format, so the display detects it first.
    explicit PaletteManager(PaletteFiles& files);
    // From the mounted archives.
    PaletteManager();
    ~PaletteManager();
    PaletteManager(const PaletteManager&) = delete;
    PaletteManager& operator=(const PaletteManager&) = delete;
    static PaletteManager* instance() { return instance_; }

    // slot 1…7: that super palette. Otherwise palette number (number mod count) of the type's set;
    // the base palette for type 1, an unknown type, an empty set or a negative remainder.
    const DLPalette* GetPalette(int type, int number, int slot) const;
    // Loaded once per exact spelling; the base palette when the file cannot be read (or no name).
    const DLPalette* GetPaletteByName(const char* name);
    const DLPalette* GetBasePalette() const { return &base_; }

    void SetUseAdjusted(bool on) { useAdjusted_ = on; }
    void SetBrightness(float factor);
    void SetAnimating(bool on) { animating_ = on; }
    bool IsAnimating() const { return animating_; }
    // One step of colour cycling, twice a second.
    void AnimateStep();
    // The "Shadow" setting, read by every AnimateStep (off when not given).
    void setShadowSetting(std::function<bool()> shadowOn) { shadowOn_ = std::move(shadowOn); }

    static const char* setFileName(int type);
    size_t setSize(int type) const;
    size_t byNameCount() const { return byName_.size(); }

private:
    void loadAll();
    void loadFile(DLPalette& palette, const std::string& name);
    void loadSet(int type);
    const std::vector<DLPalette>* set(int type, bool adjusted) const;

    static inline PaletteManager* instance_ = nullptr;
    PaletteFiles& files_;
    DLPalette base_;
    std::array<std::vector<DLPalette>, kTypes> sets_, adjusted_;
    std::array<DLPalette, kSuperSlots + 1> super_;  // slots 1…7
    std::vector<std::pair<std::string, std::unique_ptr<DLPalette>>> byName_;
    bool useAdjusted_ = false;
    float brightness_ = 1.0f;
    bool animating_ = false;
    std::function<bool()> shadowOn_;
};

}  // namespace vs::resources
