// Lighting, each next to a baseline measured in the same run:
// - LightBlit over the 456 × 408 world pane lit by an ambient level and lamps, on every
//   instruction set, against a per-pixel lookup in the lighting tables and memcpy of the pixels;
// - 50 cast shadows of 48 × 48 sprites (step 2, slant 0.8) against 50 keyed blits of them;
// - a Fill plus 20 added 97 × 97 lights against memset of the map.
// Ratios are printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "graphics/blitters.h"
#include "graphics/canvas.h"
#include "graphics/light_map.h"
#include "graphics/pixel_format.h"
#include "resources/palette.h"

namespace {

using namespace vs;
using base::Rect;
using graphics::BlitIsa;
using graphics::Canvas;
using graphics::LightMap;
using graphics::PixelFormat;
using resources::PixMap;

constexpr int kPaneW = 456, kPaneH = 408;

void selectFormat(int format) {
    graphics::selectPixelFormat(format ? PixelFormat::k565 : PixelFormat::k555);
}

// A lamp: level 64 in the middle falling to 0 at 48 pixels.
LightMap lamp() {
    LightMap m(97, 97);
    m.EllipseGradient(48, 48, 6, 48, 48, 64, 0, 1.5, LightMap::kSet);
    return m;
}

// Night at level 11 with a dozen lamps.
LightMap litPane() {
    LightMap m(kPaneW, kPaneH);
    m.Fill(nullptr, 11, LightMap::kSet);
    const LightMap l = lamp();
    for (int i = 0; i < 12; ++i) {
        const Rect at = Rect::fromSize((i * 97) % (kPaneW - 40), (i * 61) % (kPaneH - 40), 97, 97);
        m.Blend(&at, &l, {0, 0}, LightMap::kAddSaturating);
    }
    return m;
}

void fillPane(Canvas& c) {
    c.SetBounds({0, 0, kPaneW, kPaneH});
    c.SetClipArea(c.GetBounds());
    c.Lock();
    uint16_t* p = c.Picture().pixels16();
    for (int i = 0; i < kPaneW * kPaneH; ++i) p[i] = uint16_t(i * 2654435761u >> 7);
}

void LightBlitOurs(benchmark::State& s, BlitIsa isa) {
    selectFormat(int(s.range(0)));
    if (!graphics::blitIsaAvailable(isa)) {
        s.SkipWithError("instruction set not available");
        return;
    }
    graphics::selectBlitIsa(isa);
    Canvas c;
    fillPane(c);
    const LightMap m = litPane();
    for (auto _ : s) {
        c.LightBlit(m, m.bounds(), m.bounds());
        benchmark::DoNotOptimize(c.Picture().pixels16());
        benchmark::ClobberMemory();
    }
    graphics::selectBlitIsa(BlitIsa::Avx2);
}

// The plain way: three table lookups per pixel.
void LightBlitTables(benchmark::State& s) {
    selectFormat(int(s.range(0)));
    Canvas c;
    fillPane(c);
    const LightMap m = litPane();
    const auto scale = graphics::pixelFunctions().scale;
    for (auto _ : s) {
        uint16_t* p = c.Picture().pixels16();
        for (int y = 0; y < kPaneH; ++y) {
            const uint8_t* l = m.row(y);
            uint16_t* d = p + y * kPaneW;
            for (int x = 0; x < kPaneW; ++x) d[x] = scale(d[x], l[x]);
        }
        benchmark::DoNotOptimize(p);
        benchmark::ClobberMemory();
    }
}

void PaneMemcpy(benchmark::State& s) {
    std::vector<uint16_t> a(size_t(kPaneW) * kPaneH, 1), b(a.size());
    for (auto _ : s) {
        std::memcpy(b.data(), a.data(), a.size() * 2);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}

// A rounded 48 × 48 body with holes, about a third transparent.
PixMap sprite() {
    PixMap p;
    p.Alloc8(48, 48);
    auto* px = const_cast<uint8_t*>(p.pixels8());
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const int dx = x - 24, dy = y - 24;
            const bool inside = dx * dx + dy * dy < 23 * 23 && (x / 3 + y / 5) % 7 != 0;
            px[y * 48 + x] = inside ? uint8_t(48 + (x * 13 + y * 7) % 200) : 0;
        }
    }
    p.BuildMask();
    p.CheckMask();
    return p;
}

template <class Draw>
void FiftySprites(benchmark::State& s, Draw draw) {
    selectFormat(int(s.range(0)));
    Canvas c;
    fillPane(c);
    const PixMap p = sprite();
    for (auto _ : s) {
        for (int i = 0; i < 50; ++i) {
            const Rect at =
                Rect::fromSize((i * 53) % (kPaneW - 90), (i * 37) % (kPaneH - 60), 48, 48);
            draw(c, p, at);
        }
        benchmark::DoNotOptimize(c.Picture().pixels16());
        benchmark::ClobberMemory();
    }
}

void Shadows(benchmark::State& s) {
    FiftySprites(s, [](Canvas& c, const PixMap& p, const Rect& at) {
        c.DrawShadow(p, p.bounds(), at, 3, 0.65f, 2, 2.0f, 0.8f);
    });
}

void KeyedBlits(benchmark::State& s) {
    static const resources::DLPalette pal;
    FiftySprites(s, [](Canvas& c, const PixMap& p, const Rect& at) {
        c.DrawPixMap(p, p.bounds(), at, 1, &pal);
    });
}

void FillAndLights(benchmark::State& s) {
    LightMap m(kPaneW, kPaneH);
    const LightMap l = lamp();
    for (auto _ : s) {
        m.Fill(nullptr, 11, LightMap::kSet);
        for (int i = 0; i < 20; ++i) {
            const Rect at =
                Rect::fromSize((i * 97) % (kPaneW - 40), (i * 61) % (kPaneH - 40), 97, 97);
            m.Blend(&at, &l, {0, 0}, LightMap::kAdd);
        }
        benchmark::DoNotOptimize(m.data());
        benchmark::ClobberMemory();
    }
}

void MapMemset(benchmark::State& s) {
    std::vector<uint8_t> m(size_t(kPaneW) * kPaneH);
    for (auto _ : s) {
        std::memset(m.data(), 11, m.size());
        benchmark::DoNotOptimize(m.data());
        benchmark::ClobberMemory();
    }
}

// --- registration and the ratios ----------------------------------------------------------------

struct Ratio {
    std::string label, ours, baseline;
    bool speedUp;  // baseline / ours ("× faster") instead of ours / baseline
};
std::vector<Ratio> gRatios;

std::string reg(const std::string& name, std::function<void(benchmark::State&)> fn, int format) {
    const std::string full = name + (format ? "/565" : "/555");
    benchmark::RegisterBenchmark(full.c_str(), [fn](benchmark::State& s) { fn(s); })
        ->Arg(format)
        ->MinTime(0.2);
    return full + "/" + std::to_string(format);
}

void registerAll() {
    const auto memcpyPane = reg("PaneMemcpy", PaneMemcpy, 0);
    for (int format = 0; format < 2; ++format) {
        const std::string f = format ? " 565" : " 555";
        const auto tables = reg("LightBlitTables", LightBlitTables, format);
        for (BlitIsa isa : {BlitIsa::Baseline, BlitIsa::Avx2}) {
            const std::string i = isa == BlitIsa::Avx2 ? " AVX2" : " baseline";
            const auto ours = reg(
                std::string("LightBlit") + (isa == BlitIsa::Avx2 ? "Avx2" : "Baseline"),
                [isa](auto& s) { LightBlitOurs(s, isa); }, format);
            gRatios.push_back(
                {"LightBlit 456x408" + f + i + " vs table lookups", ours, tables, true});
            gRatios.push_back(
                {"LightBlit 456x408" + f + i + " vs memcpy", ours, memcpyPane, false});
        }
        gRatios.push_back({"50 shadows 48x48" + f + " vs 50 keyed blits",
                           reg("Shadows", Shadows, format), reg("KeyedBlits", KeyedBlits, format),
                           false});
    }
    gRatios.push_back({"Fill + 20 lights 97x97 vs memset of the map",
                       reg("FillAndLights", FillAndLights, 0), reg("MapMemset", MapMemset, 0),
                       false});
}

class RatioReporter final : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.iterations == 0) continue;
            std::string name = r.benchmark_name();
            name = name.substr(0, name.find("/min_time:"));
            times_[name] = r.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nratios (CPU time, same run):\n");
        for (const auto& r : gRatios) {
            const auto a = times_.find(r.ours), b = times_.find(r.baseline);
            if (a == times_.end() || b == times_.end() || a->second <= 0 || b->second <= 0)
                continue;
            if (r.speedUp) {
                std::printf("  %-58s %6.2f x faster\n", r.label.c_str(), b->second / a->second);
            } else {
                std::printf("  %-58s %6.2f x the time\n", r.label.c_str(), a->second / b->second);
            }
        }
    }

  private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
