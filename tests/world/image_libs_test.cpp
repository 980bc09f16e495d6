// The image libraries on the demo village and on small fixtures that show one rule each, in both
// pixel formats.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "app/error.h"
#include "graphics/canvas.h"
#include "graphics/light_map.h"
#include "graphics/pixel_format.h"
#include "mkdata/archive_writer.h"
#include "mkdata/content.h"
#include "mkdata/data_set.h"
#include "mkdata/epf_writer.h"
#include "mkdata/image_table_writer.h"
#include "mkdata/village_art.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "resources/image_cache.h"
#include "resources/palette.h"
#include "resources/palette_manager.h"
#include "resources/scrambled_int.h"
#include "support/pixel_formats.h"
#include "world/effect_image_lib.h"
#include "world/image_lib_support.h"
#include "world/item_image_lib.h"
#include "world/light_image_lib.h"
#include "world/static_obj_image_lib.h"
#include "world/tile_image_lib.h"
#include "world/village_grid.h"

namespace vs::world {
namespace {

using base::Rect;
using graphics::BlitOption;
using graphics::Canvas;
using graphics::LightMap;
using mkdata::SpriteFrame;
using resources::PixelFormat;
namespace village = mkdata::village;

const mkdata::DataSet& demoData() {
    static const mkdata::DataSet data = [] {
        mkdata::DataSet d;
        mkdata::buildDemoData(d);
        return d;
    }();
    return data;
}

// The demo archives mounted, with room to replace entries first.
class LibraryTest : public testing::TestWithParam<PixelFormat> {
  protected:
    void SetUp() override {
        graphics::selectPixelFormat(GetParam());
        setLibraryDamaged(false);
    }
    void TearDown() override {
        tiles.reset(), objects.reset(), items.reset(), effects.reset(), lights.reset();
        palettes.reset();
        cache.reset();
        archives.reset();
        setLibraryDamaged(false);
        graphics::selectPixelFormat(PixelFormat::k565);
    }
    // Mounts the demo archives, with `extra` (entries that come first) in front of them.
    void mount(const mkdata::ArchiveWriter* extra = nullptr) {
        if (extra) files.add("EXTRA.DAT", extra->build());
        for (const auto& [name, writer] : demoData().archives()) files.add(name, writer.build());
        archives = std::make_unique<resources::ArchiveManager>(files);
        if (extra) {
            ASSERT_TRUE(archives->Mount("EXTRA.DAT"));
        }
        for (const auto& [name, writer] : demoData().archives()) archives->Mount(name);
        cache = std::make_unique<resources::ImageCache>(1000000);
        palettes = std::make_unique<resources::PaletteManager>();
    }
    void loadAll() {
        items = std::make_unique<ItemImageLib>();
        tiles = std::make_unique<TileImageLib>();
        objects = std::make_unique<StaticObjImageLib>();
        effects = std::make_unique<EffectImageLib>();
        lights = std::make_unique<LightImageLib>();
    }
    void canvasOf(int w, int h) {
        canvas = std::make_unique<Canvas>();
        canvas->SetBounds({0, 0, w, h});
        canvas->SetClipArea({0, 0, w, h});
        ASSERT_TRUE(canvas->Lock());
    }
    std::vector<uint16_t> pixels() const {
        const auto& p = canvas->Picture();
        return {p.pixels16(), p.pixels16() + size_t(p.width()) * size_t(p.height())};
    }

    platform::MemoryFileMapper files;
    std::unique_ptr<resources::ArchiveManager> archives;
    std::unique_ptr<resources::ImageCache> cache;
    std::unique_ptr<resources::PaletteManager> palettes;
    std::unique_ptr<TileImageLib> tiles;
    std::unique_ptr<StaticObjImageLib> objects;
    std::unique_ptr<ItemImageLib> items;
    std::unique_ptr<EffectImageLib> effects;
    std::unique_ptr<LightImageLib> lights;
    std::unique_ptr<Canvas> canvas;
};

TEST_P(LibraryTest, DemoTablesReadBackWhole) {
    ASSERT_NO_FATAL_FAILURE(mount());
    ASSERT_NO_THROW(loadAll());
    EXPECT_FALSE(libraryDamaged());
    EXPECT_EQ(tiles->frameCount(), village::kTileCount);
    EXPECT_EQ(objects->count(), village::kObjectCount);
    EXPECT_EQ(effects->count(), int32_t(village::effects().size()));
    EXPECT_EQ(lights->count(), int32_t(village::lights().size()));
    EXPECT_FLOAT_EQ(items->info(0xC000 + village::kBluePotion).translucency, 0.45f);
    EXPECT_TRUE(items->info(0xC000 + village::kGem).cycles);
    EXPECT_EQ(items->info(0xC000 + village::kTorch).light, village::kTorchLight);
    const tables::Effect fire = effects->GetEffect(village::kFireplace);
    EXPECT_TRUE(fire.front.loops());
    EXPECT_EQ(fire.front.frames.at(0).light, village::kFireLight);
    EXPECT_FALSE(effects->GetEffect(village::kHitBurst).front.loops());
    for (const auto& tables : {tables::parseObjectTable(readEntry("SOBJ.TBL"))})
        EXPECT_EQ(tables.size(), size_t(village::kObjectCount));
    const auto grid = parseVillageGrid(readEntry(kVillageGridFile));
    ASSERT_TRUE(grid);
    EXPECT_GE(grid->width, 17);
    EXPECT_GE(grid->height, 15);
    // Every tile and object of the village exists.
    for (const GridCell& c : grid->cells) {
        EXPECT_LT(c.tile, tiles->frameCount());
        EXPECT_TRUE(c.object == 0 || objects->GetObjectInfo(c.object));
    }
}

// A sprite set of solid 24 × 24 frames, frame i filled with colour i (frame 0 as well).
std::vector<uint8_t> solidFrames(int n, Rect at = {0, 0, 24, 24}) {
    mkdata::EpfWriter epf(24, 24);
    for (int i = 0; i < n; ++i)
        epf.add(SpriteFrame(at.left, at.top, at.width(), at.height(), uint8_t(i + 1)));
    return epf.build();
}

TEST_P(LibraryTest, TileObjectItemLightAndEffectRules) {
    // Object 1: three pieces (5, 0, 9) from the bottom; item table shorter than 0x4000; light 0
    // without a size; effect 1 with a loop that starts at −1.
    mkdata::ArchiveWriter extra;
    std::vector<tables::ObjectInfo> objs(2);
    objs[1].pieces = {5, 0, 9};
    std::vector<tables::Effect> fx(1);
    fx[0].number = 7;
    fx[0].front.frames.resize(3);
    fx[0].front.loopStart = -1;
    fx[0].front.loopEnd = 2;
    extra.add("TILEC.EPF", solidFrames(10))
        .add("SOBJ.TBL", mkdata::objectTable(objs))
        .add("LIGHT.TBL", mkdata::lightTable(std::vector<tables::LightInfo>{
                              {0, 0, 5, 1.0f, 1.0f}, {0, 1 << 30, 1 << 30, 1.0f, 1.0f}}))
        .add("EFFECT.TBL", mkdata::effectTable(fx));
    ASSERT_NO_FATAL_FAILURE(mount(&extra));
    loadAll();
    canvasOf(24, 72);

    // Tile 0 fills with colour 128, during palette animation too.
    for (bool animating : {false, true}) {
        palettes->SetAnimating(animating);
        tiles->DrawTile(*canvas, {0, 0, 24, 24}, 0);
        EXPECT_EQ(canvas->Picture().pixels16()[0], Canvas::BaseColor(128)) << animating;
    }
    palettes->SetAnimating(false);

    Rect r{1, 2, 3, 4};
    objects->GetObjectRect(1, r);
    EXPECT_EQ(r, (Rect{0, -48, 24, 24}));
    objects->GetObjectRect(2, r);  // invalid: unchanged
    EXPECT_EQ(r, (Rect{0, -48, 24, 24}));
    objects->DrawObject(*canvas, {0, 0}, 1, nullptr, 1.0f, nullptr);
    const auto* pal = palettes->GetPalette(StaticObjImageLib::kPaletteType, 0, 0);
    const auto px = pixels();
    EXPECT_EQ(px[0], pal->GetColor(10));       // frame 9 at the top
    EXPECT_EQ(px[24 * 30], 0);                 // the empty middle piece drew nothing
    EXPECT_EQ(px[24 * 60], pal->GetColor(6));  // frame 5 at the bottom
    EXPECT_TRUE(objects->HitObject(1, 0, 0));
    EXPECT_TRUE(objects->HitObject(1, 5, 24));  // the empty piece, next to frame 9's last row
    EXPECT_FALSE(objects->HitObject(1, 5, 30));
    EXPECT_FALSE(objects->HitObject(1, 25, 5));  // beyond the image, not a neighbour
    EXPECT_TRUE(objects->HitObject(1, 24, 5));   // its left neighbour is inside
    EXPECT_FALSE(objects->HitObject(1, INT32_MAX, INT32_MAX));

    // Wire 0xC000 is item 0; wire 0 is item 0x4000, beyond the table: the default record.
    EXPECT_EQ(ItemImageLib::itemOf(0xC000), 0);
    EXPECT_EQ(ItemImageLib::itemOf(0), 0x4000);
    const tables::ItemInfo plain = items->info(0);
    EXPECT_EQ(plain.palette, 0);
    EXPECT_EQ(plain.light, -1);
    EXPECT_FALSE(plain.cycles);
    items->GetItemRect(0, r);
    EXPECT_EQ(r, (Rect{12, 12, 12, 12}));

    // A light without a size has no image and adds nothing.
    EXPECT_EQ(lights->image(0), nullptr);
    EXPECT_EQ(lights->image(1), nullptr);  // radii of 2^30
    LightMap m(30, 30);
    lights->AddLight(m, 15, 15, 0);
    EXPECT_EQ(m.at(15, 15), 0);

    // A loop that starts at −1 plays once.
    EXPECT_FALSE(effects->GetEffect(1).front.loops());
    EXPECT_EQ(effects->GetEffect(1).number, 7);
    EXPECT_TRUE(effects->GetEffect(0).front.frames.empty());
    EXPECT_TRUE(effects->GetEffect(2).front.frames.empty());
}

TEST_P(LibraryTest, PaletteAnimationRedrawsOnlyWhatCycles) {
    ASSERT_NO_FATAL_FAILURE(mount());
    loadAll();
    const auto grid = parseVillageGrid(readEntry(kVillageGridFile));
    ASSERT_TRUE(grid);
    const int w = 17, h = 15;
    canvasOf(w * 24, h * 24);
    auto draw = [&] {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const GridCell& c = grid->at(x, y);
                tiles->DrawTile(*canvas, Rect::fromSize(x * 24, y * 24, 24, 24), c.tile);
                if (c.item)
                    items->DrawItem(*canvas, Rect::fromSize(x * 24, y * 24, 24, 24), c.item, 0,
                                    nullptr, 1.0f);
            }
        }
    };
    draw();
    const auto before = pixels();
    palettes->setShadowSetting([] { return true; });  // steps the sets that are drawn with
    palettes->AnimateStep();
    palettes->SetAnimating(true);
    draw();
    const auto after = pixels();
    int changed = 0;
    for (int y = 0; y < h * 24; ++y) {
        for (int x = 0; x < w * 24; ++x) {
            if (before[size_t(y * w * 24 + x)] == after[size_t(y * w * 24 + x)]) continue;
            ++changed;
            const GridCell& c = grid->at(x / 24, y / 24);
            const bool water = c.tile >= village::kTileWater && c.tile <= village::kTileWater + 8;
            const bool cyclingItem = c.item && items->info(c.item).cycles;
            ASSERT_TRUE(water || cyclingItem) << "pixel " << x << "," << y;
        }
    }
    EXPECT_GT(changed, 100);
}

TEST_P(LibraryTest, ItemBlitKindFollowsTranslucencyAndTint) {
    std::vector<tables::ItemInfo> table(2);
    table[1].translucency = 0.5f;
    mkdata::ArchiveWriter extra;
    extra.add("ITEM.EPF", solidFrames(2, {-8, -8, 8, 8})).add("ITEM.TBL", mkdata::itemTable(table));
    ASSERT_NO_FATAL_FAILURE(mount(&extra));
    loadAll();
    const struct {
        int item, tint, kind;
    } cases[] = {{0, 0, BlitOption::kPlain},
                 {0, 3, BlitOption::kTinted},
                 {1, 0, BlitOption::kTranslucent},
                 {1, 3, BlitOption::kTranslucentTinted}};
    for (const auto& c : cases) {
        canvasOf(24, 24);
        for (int i = 0; i < 24 * 24; ++i) canvas->Picture().pixels16()[i] = uint16_t(i * 77);
        Canvas expected;
        expected.SetBounds({0, 0, 24, 24});
        expected.SetClipArea({0, 0, 24, 24});
        ASSERT_TRUE(expected.Lock());
        std::copy_n(canvas->Picture().pixels16(), 24 * 24, expected.Picture().pixels16());
        resources::PixMap frame;
        cache->GetFrame("ITEM.EPF", c.item, frame);
        BlitOption o;
        o.kind = c.kind;
        o.factor = table[size_t(c.item)].translucency;
        o.tint = c.tint;
        expected.DrawPixMapAt(12, 12, frame, palettes->GetPalette(ItemImageLib::kPaletteType, 0, 0),
                              1, &o);
        items->DrawItem(*canvas, {0, 0, 24, 24}, 0xC000 + c.item, c.tint, nullptr, 1.0f);
        EXPECT_TRUE(std::equal(canvas->Picture().pixels16(), canvas->Picture().pixels16() + 24 * 24,
                               expected.Picture().pixels16()))
            << "item " << c.item << " tint " << c.tint;
    }
}

TEST_P(LibraryTest, LightsAddAndSubtractBackToTheMap) {
    ASSERT_NO_FATAL_FAILURE(mount());
    loadAll();
    LightMap m(120, 90);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) m.row(y)[x] = uint8_t(x + y);
    std::vector<uint8_t> before(m.data(), m.data() + 120 * 90);
    for (int light = 0; light < lights->count(); ++light) {
        lights->AddLight(m, 10 + light * 30, 80, light);  // partly off the bottom
        EXPECT_NE(std::vector<uint8_t>(m.data(), m.data() + 120 * 90), before) << light;
        lights->SubtractLight(m, 10 + light * 30, 80, light);
        EXPECT_EQ(std::vector<uint8_t>(m.data(), m.data() + 120 * 90), before) << light;
    }
    const LightMap* lamp = lights->image(village::kLampLight);
    ASSERT_NE(lamp, nullptr);
    const auto l = village::lights()[village::kLampLight];
    EXPECT_EQ(lamp->width(), 2 * l.rx + 1);
    EXPECT_EQ(lamp->at(l.rx, l.ry), graphics::lightLevel(l.intensity));
    EXPECT_EQ(lamp->at(0, 0), 0);
}

TEST_P(LibraryTest, DamagedEffectTableStopsStartUpAndStopsDrawing) {
    // The count's first byte with a check bit flipped.
    auto damaged = mkdata::effectTable(village::effects());
    damaged[0] ^= 1;
    mkdata::ArchiveWriter extra;
    extra.add("EFFECT.TBL", damaged);
    ASSERT_NO_FATAL_FAILURE(mount(&extra));
    items = std::make_unique<ItemImageLib>();
    tiles = std::make_unique<TileImageLib>();
    try {
        EffectImageLib lib;
        FAIL() << "loaded";
    } catch (const app::MyError& e) {
        EXPECT_EQ(e.text(), u"Damaged file : EFFECT.TBL");
    }
    EXPECT_TRUE(libraryDamaged());
    canvasOf(24, 24);
    const auto blank = pixels();
    tiles->DrawTile(*canvas, {0, 0, 24, 24}, 0);
    items->DrawItem(*canvas, {0, 0, 24, 24}, 0xC000, 0, nullptr, 1.0f);
    EXPECT_EQ(pixels(), blank);
}

VS_INSTANTIATE_IN_BOTH_FORMATS(LibraryTest);

// --- the parsers on hostile bytes ------------------------------------------------------------

std::vector<uint8_t> scrambled(std::initializer_list<uint32_t> values) {
    mkdata::ScrambledTableWriter w;
    for (uint32_t v : values) w.i(int32_t(v));
    return w.take();
}

TEST(ImageTablesTest, HostileTablesAreReadSafely) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const uint32_t nanBits = resources::scrambled::floatBits(nan);
    // Palette tables read only what the entry holds.
    EXPECT_TRUE(tables::parsePaletteTable({}).empty());
    EXPECT_EQ(
        tables::parsePaletteTable(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 2}).size(),
        1u);
    EXPECT_EQ(tables::parseFramePalettes(std::vector<uint8_t>{9, 0, 0, 0, 1, 0, 0, 0, 5}).size(),
              1u);
    // Object records while whole ones remain; a record cut short is dropped.
    const std::vector<uint8_t> objs = {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 1,   0,
                                       0,    0,    2,    15,   1, 7, 0,  // light 1, one piece
                                       0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 200, 1};
    const auto o = tables::parseObjectTable(objs);
    ASSERT_EQ(o.size(), 2u);
    EXPECT_EQ(o[1].pieces, std::vector<uint16_t>{7});
    EXPECT_EQ(o[1].blocking, 15);

    // Items: huge and negative counts allocate only what fits.
    EXPECT_TRUE(tables::parseItemTable(scrambled({0x7FFFFFFF})).items.empty());
    EXPECT_TRUE(tables::parseItemTable(scrambled({uint32_t(-5), 0, 0, 0, 0, 0})).items.empty());
    const auto truncated = tables::parseItemTable(scrambled({2, 0, 3, 0, 0, 0, 0, 4}));
    ASSERT_EQ(truncated.items.size(), 1u);
    EXPECT_EQ(truncated.items[0].palette, 3);

    // Effects: a count, list length or value that fails is damage; bad loops play once.
    const struct {
        std::vector<uint8_t> bytes;
        bool damaged;
    } effects[] = {
        {{}, true},
        {scrambled({0}), false},
        {scrambled({0x7FFFFFFF}), true},
        {scrambled({uint32_t(-1)}), true},
        {scrambled({1, 1, uint32_t(-3), 0, 0, 0, 0, 0}), true},        // negative nA
        {scrambled({1, 1, 1, 0, 0, 0x7FFFFFFF, 0, 0}), true},          // nB beyond the entry
        {scrambled({1, 1, 1, 0, 0, 0, 0, 0, 5, 100, nanBits}), true},  // a frame cut short
        {scrambled({1, 1, 1, 2, 5, 0, 3, 1, 5, 100, nanBits, 0}), false},
    };
    for (size_t i = 0; i < std::size(effects); ++i) {
        const auto e = tables::parseEffectTable(effects[i].bytes);
        EXPECT_EQ(!e, effects[i].damaged) << "case " << i;
        if (e && !e->empty()) {
            EXPECT_FALSE((*e)[0].front.loops()) << "start 2 > end 5 of 1 frame";
            EXPECT_FALSE((*e)[0].behind.loops());
        }
    }

    // Lights: radii of 2^30 and NaN floats give no image and no crash.
    const auto lt = tables::parseLightTable(
        scrambled({2, 0, 1u << 30, 1u << 30, 1u << 30, nanBits, nanBits, 0, 3, 9, 6, nanBits,
                   resources::scrambled::floatBits(1.0f)}));
    ASSERT_EQ(lt.lights.size(), 2u);
    EXPECT_FALSE(lt.damaged);
    EXPECT_EQ(lt.lights[0].rx, 1 << 30);
    EXPECT_TRUE(std::isnan(lt.lights[1].intensity));
}

TEST(ImageTablesTest, AllocationsFollowTheBytesNotTheCounts) {
    const auto grid = parseVillageGrid(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_FALSE(grid);
    EXPECT_FALSE(parseVillageGrid(std::vector<uint8_t>{1, 0, 1, 0, 1, 2, 3}));
    EXPECT_TRUE(parseVillageGrid(std::vector<uint8_t>{1, 0, 1, 0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

}  // namespace
}  // namespace vs::world
