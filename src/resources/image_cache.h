#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/rect.h"
#include "resources/epf_file.h"
#include "resources/pix_map.h"

namespace vs::resources {

// Loads each sprite file once, by name, and hands out its frames as PixMap views that point
// straight into the mapped archive. Names are compared exactly ("dlgframe.epf" is another entry
// than "DLGFRAME.EPF", though both read the same archive entry). Entries stay until the cache
// goes, so views stay valid as long as the cache and the archive manager live.
//
// A missing file throws app::FileError from the archive (the cache adds no entry); so does a
// file whose header or frame table does not fit it. A frame that does not fit gives empty views.
class ImageCache {
  public:
    explicit ImageCache(size_t budget);
    ~ImageCache();
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;
    static ImageCache* instance() { return instance_; }
    size_t budget() const { return budget_; }

    // A view of frame `index` (loading the file on a miss); an index outside 0 … F − 1 gives an
    // empty picture. Returns the frame's record, or null.
    const FrameRecord* GetFrame(std::string_view name, int index, PixMap& out);
    // The same, then an owning deep copy of the view.
    const FrameRecord* GetFrameCopy(std::string_view name, int index, PixMap& out);
    // The frame's rectangle; (0, 0, 0, 0) outside 0 … F − 1.
    void GetFrameRect(std::string_view name, int index, base::Rect& out);
    void GetCanvasSize(std::string_view name, int32_t& width, int32_t& height);
    int GetFrameCount(std::string_view name);
    // The entry's position in the cache, or −1.
    int FindLoaded(std::string_view name) const;

    // A sprite file outside the cache, owned by the caller (the image libraries).
    std::unique_ptr<FrameSet> LoadFrameSet(std::string_view name);
    static void FreeFrameSet(std::unique_ptr<FrameSet>& set) { set.reset(); }
    static const FrameRecord* GetSetFrame(const FrameSet& set, int index, PixMap& out) {
        return epf::view(set, index, out);
    }

    size_t entries() const { return entries_.size(); }

  private:
    struct Entry {
        std::string name;
        FrameSet frames;
    };
    const FrameSet& find(std::string_view name);
    static void read(std::string_view name, FrameSet& out);

    static inline ImageCache* instance_ = nullptr;
    size_t budget_;
    std::vector<std::unique_ptr<Entry>> entries_;
    std::unordered_map<std::string, size_t> byName_;
};

}  // namespace vs::resources
