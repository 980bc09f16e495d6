#include "mkdata/epf_writer.h"

#include <stdexcept>

#include "base/byte_io.h"
#include "resources/epf_file.h"
#include "resources/pix_map.h"

namespace vs::mkdata {

SpriteFrame::SpriteFrame(int left_, int top_, int width_, int height_, uint8_t fill)
    : left(left_),
      top(top_),
      width(width_),
      height(height_),
      pixels(size_t(width_) * size_t(height_), fill) {}

EpfWriter& EpfWriter::add(SpriteFrame frame) {
    if (frame.width < 0 || frame.height < 0 ||
        frame.pixels.size() != size_t(frame.width) * size_t(frame.height)) {
        throw std::invalid_argument("sprite frame pixels do not match its size");
    }
    frames_.push_back(std::move(frame));
    return *this;
}

std::vector<uint8_t> EpfWriter::build() const {
    struct Placed {
        uint32_t pixels, mask;
    };
    std::vector<uint8_t> area;
    std::vector<Placed> placed;
    for (const SpriteFrame& f : frames_) {
        Placed p;
        p.pixels = uint32_t(area.size());
        area.insert(area.end(), f.pixels.begin(), f.pixels.end());
        p.mask = uint32_t(area.size());
        std::vector<uint8_t> mask(resources::mask::maxSize(f.width, f.height));
        mask.resize(
            resources::mask::build(f.pixels.data(), f.width, f.width, f.height, mask.data()));
        area.insert(area.end(), mask.begin(), mask.end());
        placed.push_back(p);
    }
    base::ByteWriter w;
    w.u16le(uint32_t(frames_.size()))
        .u16le(uint32_t(canvasWidth_))
        .u16le(uint32_t(canvasHeight_))
        .u16le(0);
    w.u32le(uint32_t(area.size())).bytes(area);
    for (size_t i = 0; i < frames_.size(); ++i) {
        const SpriteFrame& f = frames_[i];
        w.u16le(uint32_t(f.top))
            .u16le(uint32_t(f.left))
            .u16le(uint32_t(f.top + f.height))
            .u16le(uint32_t(f.left + f.width));
        w.u32le(placed[i].pixels).u32le(placed[i].mask);
    }
    return w.take();
}

std::vector<uint8_t> countedU16Table(std::span<const uint16_t> values) {
    base::ByteWriter w;
    w.u32le(uint32_t(values.size()));
    for (uint16_t v : values) w.u16le(v);
    return w.take();
}

}  // namespace vs::mkdata
