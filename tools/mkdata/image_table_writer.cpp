#include "mkdata/image_table_writer.h"

#include "mkdata/scrambled_int_writer.h"

namespace vs::mkdata {

using namespace world::tables;

ScrambledTableWriter& ScrambledTableWriter::i(int32_t v) {
    appendScrambledInt(out_, uint32_t(v));
    return *this;
}

ScrambledTableWriter& ScrambledTableWriter::f(float v) {
    appendScrambledFloat(out_, v);
    return *this;
}

std::vector<uint8_t> framePalettesTable(std::span<const uint32_t> palettes) {
    base::ByteWriter w;
    w.u32le(uint32_t(palettes.size()));
    for (uint32_t p : palettes) w.u32le(p);
    return w.take();
}

std::vector<uint8_t> objectTable(std::span<const ObjectInfo> objects) {
    base::ByteWriter w;
    w.u32le(uint32_t(objects.size())).u16le(0);
    for (size_t k = 1; k < objects.size(); ++k) {
        const ObjectInfo& o = objects[k];
        w.u32le(uint32_t(o.light)).u8(o.lightHeight).u8(o.blocking).u8(uint32_t(o.pieces.size()));
        for (uint16_t p : o.pieces) w.u16le(p);
    }
    return w.take();
}

std::vector<uint8_t> itemTable(std::span<const ItemInfo> items) {
    ScrambledTableWriter w;
    w.i(int32_t(items.size()));
    for (const ItemInfo& item : items) {
        w.i(0).i(item.palette).f(item.translucency).i(item.light).i(item.cycles ? 1 : 0);
    }
    return w.take();
}

std::vector<uint8_t> effectTable(std::span<const Effect> effects) {
    ScrambledTableWriter w;
    w.i(int32_t(effects.size()));
    for (const Effect& e : effects) {
        w.i(e.number).i(int32_t(e.front.frames.size())).i(e.front.loopStart).i(e.front.loopEnd);
        w.i(int32_t(e.behind.frames.size())).i(e.behind.loopStart).i(e.behind.loopEnd);
        for (const EffectList* list : {&e.front, &e.behind}) {
            for (const EffectFrame& f : list->frames)
                w.i(f.frame).i(f.time).f(f.translucency).i(f.light);
        }
    }
    return w.take();
}

std::vector<uint8_t> lightTable(std::span<const LightInfo> lights) {
    ScrambledTableWriter w;
    w.i(int32_t(lights.size()));
    for (const LightInfo& l : lights) w.i(0).i(l.r0).i(l.rx).i(l.ry).f(l.intensity).f(l.exponent);
    return w.take();
}

}  // namespace vs::mkdata
