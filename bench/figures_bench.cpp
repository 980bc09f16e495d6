// 60 four-part characters with their shadows drawn through the character library, against the
// same frames drawn by direct DrawPixMap and DrawShadow calls, in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "charsheet/sheet.h"
#include "graphics/canvas.h"
#include "graphics/pixel_format.h"
#include "mkdata/content.h"
#include "mkdata/content/demo_figures.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "resources/image_cache.h"
#include "resources/palette_manager.h"
#include "world/figure_draw.h"
#include "world/human_image_lib.h"
#include "world/monster_image_lib.h"

namespace {

using namespace vs;
using base::Point;
using base::Rect;

constexpr int kFigures = 60;

struct World {
    platform::MemoryFileMapper files;
    resources::ArchiveManager archives{files};
    resources::ImageCache cache{64u << 20};
    std::unique_ptr<resources::PaletteManager> palettes;
    std::unique_ptr<world::HumanImageLib> humans;
    std::unique_ptr<world::MonsterImageLib> monsters;
    graphics::Canvas canvas;

    explicit World(graphics::PixelFormat format) {
        graphics::selectPixelFormat(format);
        mkdata::DataSet data;
        mkdata::buildDemoData(data);
        for (const auto& [name, archive] : data.archives()) {
            files.add(name, archive.build());
            archives.Mount(name);
        }
        palettes = std::make_unique<resources::PaletteManager>();
        humans = std::make_unique<world::HumanImageLib>();
        monsters = std::make_unique<world::MonsterImageLib>();
        canvas.SetBounds({0, 0, 640, 480});
        canvas.SetClipArea({0, 0, 640, 480});
        canvas.Lock();
    }
};

struct Placed {
    world::Appearance a;
    int d, walk;
    Point cell;
};

std::vector<Placed> crowd() {
    const world::Appearance knight = charsheet::appearance(mkdata::demo::kGoldenFigure);
    std::vector<Placed> out;
    for (int i = 0; i < kFigures; ++i)
        out.push_back({knight, i % 4, (i / 4) % 4, {24 * (i % 12) + 40, 48 * (i / 12) + 60}});
    return out;
}

void Library(benchmark::State& state) {
    World w(state.range(0) ? graphics::PixelFormat::k565 : graphics::PixelFormat::k555);
    const auto figures = crowd();
    for (auto _ : state) {
        for (const Placed& p : figures) {
            Rect b, s;
            w.humans->GetFullBounds(p.a, p.d, 0, 0, p.walk, b, s);
            const Point at = p.cell + b.topLeft();
            w.humans->DrawShadow(w.canvas, at, p.a, p.d, 0, 0, p.walk);
            w.humans->DrawCharacter(w.canvas, at, p.a, p.d, 0, 0, p.walk);
        }
        benchmark::ClobberMemory();
    }
}

// The same frames, palettes and shadow casts, looked up once before timing.
void Direct(benchmark::State& state) {
    World w(state.range(0) ? graphics::PixelFormat::k565 : graphics::PixelFormat::k555);
    struct Part {
        resources::PixMap picture;
        const resources::DLPalette* palette;
        Rect dst;
        world::ShadowCast shadow;
    };
    std::vector<Part> parts;
    const world::ShadowStyle style = w.humans->GetShadowStyle();
    for (const Placed& p : crowd()) {
        const world::Pose pose = w.humans->ComputePose(p.a, p.d, 0, 0, p.walk);
        // The demo tables give entry i palette i mod 4.
        const struct {
            const char* file;
            int64_t frame;
            int type, number;
        } wanted[] = {{"BODY.EPF", pose.body, 5, p.a.body % 4},
                      {"HEAD.EPF", pose.head, 3, p.a.head % 4},
                      {"SWORD.EPF", pose.weapon, 6, p.a.weapon % 4},
                      {"SHIELD.EPF", pose.shield, 9, p.a.shield % 4}};
        Rect all;
        std::vector<Part> mine;
        for (const auto& x : wanted) {
            Part part;
            w.cache.GetFrame(x.file, int(x.frame), part.picture);
            part.palette = w.palettes->GetPalette(x.type, x.number, 0);
            all = all.unite(part.picture.bounds());
            mine.push_back(std::move(part));
        }
        for (Part& part : mine) {
            const Rect& r = part.picture.bounds();
            part.dst = r.offset(p.cell.x + 12, p.cell.y + 12);
            part.shadow = world::footShadow(r, part.dst, p.cell.y + 24, style);
            parts.push_back(std::move(part));
        }
    }
    const graphics::BlitOption plain;
    for (auto _ : state) {
        for (const Part& p : parts)
            w.canvas.DrawShadow(p.picture, p.shadow.src, p.shadow.dst, 3, style.strength,
                                p.shadow.offset, p.shadow.step, p.shadow.slant);
        for (const Part& p : parts)
            w.canvas.DrawPixMap(p.picture, p.picture.bounds(), p.dst, 1, p.palette, &plain);
        benchmark::ClobberMemory();
    }
}

class RatioReporter final : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations)
                times_[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nratios (CPU time, same run):\n");
        for (const char* f : {"0", "1"}) {
            const auto a = times_.find(std::string("Library/") + f),
                       b = times_.find(std::string("Direct/") + f);
            if (a == times_.end() || b == times_.end() || b->second <= 0) continue;
            std::printf(
                "  60 characters with shadows, library vs direct calls %s: %.2f x the time\n",
                *f == '1' ? "565" : "555", a->second / b->second);
        }
    }

  private:
    std::map<std::string, double> times_;
};

}  // namespace

BENCHMARK(Library)->Arg(0)->Arg(1);
BENCHMARK(Direct)->Arg(0)->Arg(1);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
