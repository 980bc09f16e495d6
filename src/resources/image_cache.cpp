#include "resources/image_cache.h"

#include "app/error.h"
#include "base/log.h"
#include "resources/dat_file.h"

namespace vs::resources {

ImageCache::ImageCache(size_t budget) : budget_(budget) {
    instance_ = this;
}

ImageCache::~ImageCache() {
    if (instance_ == this) instance_ = nullptr;
}

void ImageCache::read(std::string_view name, FrameSet& out) {
    DATFile file(name);  // throws FileError when no archive holds the name
    std::string why;
    // The records point into the archive's mapping, which outlives the file object.
    if (!epf::parse(file.View(), out, &why)) {
        VS_WARN("sprite file %.*s: %s", int(name.size()), name.data(), why.c_str());
        throw app::FileError(name);
    }
}

const FrameSet& ImageCache::find(std::string_view name) {
    const std::string key(name);
    if (auto it = byName_.find(key); it != byName_.end()) return entries_[it->second]->frames;
    auto entry = std::make_unique<Entry>();
    read(name, entry->frames);
    entry->name = key;
    byName_.emplace(key, entries_.size());
    entries_.push_back(std::move(entry));
    return entries_.back()->frames;
}

const FrameRecord* ImageCache::GetFrame(std::string_view name, int index, PixMap& out) {
    return epf::view(find(name), index, out);
}

const FrameRecord* ImageCache::GetFrameCopy(std::string_view name, int index, PixMap& out) {
    PixMap view;
    const FrameRecord* r = GetFrame(name, index, view);
    out.CopyFrom(view);
    return r;
}

void ImageCache::GetFrameRect(std::string_view name, int index, base::Rect& out) {
    const FrameRecord* r = find(name).frame(index);
    out = r ? r->rect : base::Rect{};
}

void ImageCache::GetCanvasSize(std::string_view name, int32_t& width, int32_t& height) {
    const EpfHeader& h = find(name).header;
    width = h.canvasWidth;
    height = h.canvasHeight;
}

int ImageCache::GetFrameCount(std::string_view name) {
    return find(name).frameCount();
}

int ImageCache::FindLoaded(std::string_view name) const {
    const auto it = byName_.find(std::string(name));
    return it == byName_.end() ? -1 : int(it->second);
}

std::unique_ptr<FrameSet> ImageCache::LoadFrameSet(std::string_view name) {
    auto set = std::make_unique<FrameSet>();
    read(name, *set);
    return set;
}

}  // namespace vs::resources
