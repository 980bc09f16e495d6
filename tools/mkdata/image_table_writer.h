#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "base/byte_io.h"
#include "world/image_tables.h"

// Writers of the image libraries' tables, byte for byte as the client's parsers read them.
namespace vs::mkdata {

// Scrambled integers and floats, each keyed by its offset in the entry, which the writer holds
// from its first byte.
class ScrambledTableWriter {
  public:
    ScrambledTableWriter& i(int32_t v);
    ScrambledTableWriter& f(float v);
    const std::vector<uint8_t>& bytes() const { return out_.data(); }
    std::vector<uint8_t> take() { return out_.take(); }

  private:
    base::ByteWriter out_;
};

std::vector<uint8_t> framePalettesTable(std::span<const uint32_t> palettes);  // EFFECT.FRM
// SOBJ.TBL; element 0 (object 0) is not written.
std::vector<uint8_t> objectTable(std::span<const world::tables::ObjectInfo> objects);
std::vector<uint8_t> itemTable(std::span<const world::tables::ItemInfo> items);
std::vector<uint8_t> effectTable(std::span<const world::tables::Effect> effects);
std::vector<uint8_t> lightTable(std::span<const world::tables::LightInfo> lights);

}  // namespace vs::mkdata
