// The blitters, each next to a baseline measured in the same run:
// - masked 8-bit sprites (24 × 24 tiles, 48 × 48 sprites, unclipped and half clipped) against
//   SDL's own blitter doing the same work (an 8-bit surface with a colour key onto a 16-bit
//   surface) and against memcpy of the destination bytes the sprites cover;
// - a six-layer full-screen composition (CopyBits modes 0, 1, 1, 2, 1, 1) against memcpy of the
//   same bytes;
// - each blit option kind against the plain keyed blit; a blended FillRect over a full pane and a
//   Scroll of 456 × 408 by 6 pixels against memcpy / memmove of the same bytes.
// Ratios are printed at the end; above 1 means ours is faster than the baseline where the line
// says "faster", and the time relative to the baseline otherwise.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/blitters.h"
#include "graphics/canvas.h"
#include "graphics/pixel_format.h"
#include "resources/palette.h"

namespace {

using namespace vs;
using base::Rect;
using graphics::BlitOption;
using graphics::Canvas;
using graphics::PixelFormat;
using resources::DLPalette;
using resources::PixMap;

constexpr int kScreenW = 640, kScreenH = 480;

// An 8-bit sprite that looks like game art: a rounded body with a ragged outline and holes, about
// a third of it transparent, in runs.
std::vector<uint8_t> spritePixels(int size) {
    std::vector<uint8_t> p(size_t(size * size));
    const float c = (size - 1) / 2.0f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float dx = x - c, dy = (y - c) * 1.2f;
            const float r = c * (0.92f + 0.08f * float((x * 7 + y * 3) % 5) / 4.0f);
            const bool inside =
                dx * dx + dy * dy < r * r && !((x / 3 + y / 5) % 7 == 0 && y > size / 2);
            p[size_t(y * size + x)] = inside ? uint8_t(48 + (x * 13 + y * 7) % 200) : 0;
        }
    }
    return p;
}

struct SpriteSet {
    PixMap picture;
    SDL_Surface* sdl = nullptr;
};

SpriteSet makeSprite(int size, const DLPalette& pal) {
    SpriteSet s;
    const auto px = spritePixels(size);
    s.picture.Alloc8(size, size);
    std::memcpy(const_cast<uint8_t*>(s.picture.pixels8()), px.data(), px.size());
    s.picture.BuildMask();
    s.sdl = SDL_CreateRGBSurfaceWithFormat(0, size, size, 8, SDL_PIXELFORMAT_INDEX8);
    SDL_Color colours[256];
    for (int i = 0; i < 256; ++i) {
        const uint32_t rgb = graphics::pixelFunctions().toRgb(pal.GetColor(i));
        colours[i] = {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255};
    }
    SDL_SetPaletteColors(s.sdl->format->palette, colours, 0, 256);
    for (int y = 0; y < size; ++y)
        std::memcpy(static_cast<uint8_t*>(s.sdl->pixels) + y * s.sdl->pitch, &px[size_t(y * size)],
                    size_t(size));
    SDL_SetColorKey(s.sdl, SDL_TRUE, 0);
    return s;
}

DLPalette gamePalette() {
    DLPalette pal;
    for (int i = 1; i < 256; ++i)
        pal.SetColor(i, graphics::pixelFunctions().fromRgb(uint8_t(i * 5), uint8_t(i * 11),
                                                           uint8_t(255 - i)));
    return pal;
}

// Where the sprites go in one iteration: a screenful of them, or as many straddling the screen's
// edges so that about half of each is clipped.
std::vector<Rect> placements(int size, bool halfClipped) {
    std::vector<Rect> at;
    if (!halfClipped) {
        for (int y = 0; y + size <= kScreenH; y += size)
            for (int x = 0; x + size <= kScreenW; x += size)
                at.push_back(Rect::fromSize(x, y, size, size));
        return at;
    }
    const int h = size / 2;
    for (int y = 0; y + size <= kScreenH; y += size) {
        at.push_back(Rect::fromSize(-h, y, size, size));
        at.push_back(Rect::fromSize(kScreenW - h, y, size, size));
    }
    for (int x = 0; x + size <= kScreenW; x += size) {
        at.push_back(Rect::fromSize(x, -h, size, size));
        at.push_back(Rect::fromSize(x, kScreenH - h, size, size));
    }
    return at;
}

PixelFormat formatOf(const benchmark::State& state) {
    return state.range(0) ? PixelFormat::k565 : PixelFormat::k555;
}

struct Screen {
    Canvas canvas;
    explicit Screen(PixelFormat f) {
        graphics::selectPixelFormat(f);
        canvas.SetBounds({0, 0, kScreenW, kScreenH});
        canvas.SetClipArea({0, 0, kScreenW, kScreenH});
        canvas.Lock();
    }
};

void SpritesOurs(benchmark::State& state, int size, bool clipped, const BlitOption* option) {
    Screen screen(formatOf(state));
    const DLPalette pal = gamePalette();
    SpriteSet s = makeSprite(size, pal);
    const auto at = placements(size, clipped);
    for (auto _ : state) {
        for (const Rect& r : at)
            screen.canvas.DrawPixMap(s.picture, s.picture.bounds(), r, 1, &pal, option);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(s.sdl);
}

void SpritesSdl(benchmark::State& state, int size, bool clipped) {
    graphics::selectPixelFormat(formatOf(state));
    const DLPalette pal = gamePalette();
    SpriteSet s = makeSprite(size, pal);
    SDL_Surface* dst = SDL_CreateRGBSurfaceWithFormat(
        0, kScreenW, kScreenH, 16,
        state.range(0) ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB555);
    const auto at = placements(size, clipped);
    for (auto _ : state) {
        for (const Rect& r : at) {
            SDL_Rect d{r.left, r.top, r.width(), r.height()};
            SDL_BlitSurface(s.sdl, nullptr, dst, &d);
        }
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(dst);
    SDL_FreeSurface(s.sdl);
}

// Row copies of exactly the destination pixels the sprites cover.
void SpritesMemcpy(benchmark::State& state, int size, bool clipped) {
    std::vector<uint16_t> src(size_t(size * size), 0x1234), dst(size_t(kScreenW * kScreenH));
    const auto at = placements(size, clipped);
    for (auto _ : state) {
        for (const Rect& r : at) {
            const Rect v = r.intersect({0, 0, kScreenW, kScreenH});
            for (int y = v.top; y < v.bottom; ++y)
                std::memcpy(&dst[size_t(y * kScreenW + v.left)],
                            &src[size_t((y - r.top) * size + v.left - r.left)],
                            size_t(v.width()) * 2);
        }
        benchmark::ClobberMemory();
    }
}

// Six full-screen layers: an opaque ground, then keyed layers that are mostly transparent with
// runs of content, and one blended layer.
void Compose(benchmark::State& state) {
    Screen screen(formatOf(state));
    const int modes[6] = {0, 1, 1, 2, 1, 1};
    std::vector<std::unique_ptr<Canvas>> layers;
    for (int i = 0; i < 6; ++i) {
        auto c = std::make_unique<Canvas>();
        c->SetBounds({0, 0, kScreenW, kScreenH});
        c->Lock();
        uint16_t* p = c->Picture().pixels16();
        for (int y = 0; y < kScreenH; ++y)
            for (int x = 0; x < kScreenW; ++x) {
                const bool content =
                    i == 0 || ((x / 24 + y / 24 + i) % 3 == 0 && (x + y) % 11 != 0);
                p[y * kScreenW + x] =
                    content ? uint16_t(1 + (x * 31 + y * 17 + i * 1000) % 0x7FFE) : 0;
            }
        c->Unlock();
        c->SetOpacity(0.5f);
        layers.push_back(std::move(c));
    }
    const Rect all{0, 0, kScreenW, kScreenH};
    for (auto _ : state) {
        for (int i = 0; i < 6; ++i) screen.canvas.CopyBits(*layers[size_t(i)], all, all, modes[i]);
        benchmark::ClobberMemory();
    }
}

void ComposeKeyedOnly(benchmark::State& state) {
    Screen screen(formatOf(state));
    Canvas layer;
    layer.SetBounds({0, 0, kScreenW, kScreenH});
    layer.Lock();
    uint16_t* p = layer.Picture().pixels16();
    for (int i = 0; i < kScreenW * kScreenH; ++i) p[i] = (i / 24) % 3 == 0 ? uint16_t(i | 1) : 0;
    layer.Unlock();
    const Rect all{0, 0, kScreenW, kScreenH};
    for (auto _ : state) {
        screen.canvas.CopyBits(layer, all, all, 1);
        benchmark::ClobberMemory();
    }
}

void MemcpyScreens(benchmark::State& state, int screens) {
    const size_t n = size_t(kScreenW * kScreenH);
    std::vector<uint16_t> src(n * size_t(screens), 7), dst(n);
    for (auto _ : state) {
        for (int i = 0; i < screens; ++i)
            std::memcpy(dst.data(), src.data() + n * size_t(i), n * 2);
        benchmark::ClobberMemory();
    }
}

void FillBlend(benchmark::State& state) {
    Screen screen(formatOf(state));
    screen.canvas.SetTransferMode(2);
    screen.canvas.SetOpacity(0.3f);
    for (auto _ : state) {
        screen.canvas.FillRect({0, 0, kScreenW, kScreenH});
        benchmark::ClobberMemory();
    }
}

constexpr Rect kScrollArea{0, 0, 456, 408};

void ScrollView(benchmark::State& state) {
    Screen screen(formatOf(state));
    Rect exposed;
    int step = 0;
    for (auto _ : state) {
        const int d = (step++ & 1) ? 6 : -6;
        screen.canvas.Scroll(kScrollArea, d, 0, exposed);
        benchmark::ClobberMemory();
    }
}

void MemmoveScroll(benchmark::State& state) {
    std::vector<uint16_t> buf(size_t(kScreenW * kScreenH), 3);
    for (auto _ : state) {
        for (int y = 0; y < kScrollArea.bottom; ++y)
            std::memmove(&buf[size_t(y * kScreenW + 6)], &buf[size_t(y * kScreenW)], (456 - 6) * 2);
        benchmark::ClobberMemory();
    }
}

// --- registration and the ratios ----------------------------------------------------------------

struct Ratio {
    std::string label, ours, baseline;
    bool speedUp;  // print baseline / ours ("× faster") instead of ours / baseline
};
std::vector<Ratio> gRatios;

std::string reg(const std::string& name, std::function<void(benchmark::State&)> fn, int format) {
    const std::string full = name + (format ? "/565" : "/555");
    benchmark::RegisterBenchmark(full.c_str(), [fn](benchmark::State& s) { fn(s); })
        ->Arg(format)
        ->MinTime(0.2);
    return full + "/" + std::to_string(format);
}

BlitOption option(int kind) {
    static uint8_t weights[48 * 48];
    for (int i = 0; i < 48 * 48; ++i) weights[i] = uint8_t(i % 33);
    BlitOption o;
    o.kind = kind;
    o.factor = 0.4f;
    o.tint = 3;
    o.mask = weights;
    o.maskWidth = o.maskHeight = o.maskStride = 48;
    return o;
}

void registerAll() {
    static std::vector<BlitOption> options;
    const int kinds[] = {1, 2, 3, 4, 6, 8};
    options.reserve(std::size(kinds));
    for (int k : kinds) options.push_back(option(k));
    for (int format = 0; format < 2; ++format) {
        const std::string f = format ? " 565" : " 555";
        std::string plain;
        for (int size : {24, 48}) {
            for (bool clipped : {false, true}) {
                const std::string what = std::to_string(size) + "x" + std::to_string(size) +
                                         (clipped ? " half clipped" : " unclipped");
                const std::string key = std::to_string(size) + (clipped ? "clipped" : "");
                const auto ours = reg(
                    "Sprites" + key, [=](auto& s) { SpritesOurs(s, size, clipped, nullptr); },
                    format);
                const auto sdl = reg(
                    "SpritesSdl" + key, [=](auto& s) { SpritesSdl(s, size, clipped); }, format);
                const auto mem = reg(
                    "SpritesMemcpy" + key, [=](auto& s) { SpritesMemcpy(s, size, clipped); },
                    format);
                if (size == 48 && !clipped) plain = ours;
                gRatios.push_back({"masked " + what + f + " vs SDL", ours, sdl, true});
                gRatios.push_back({"masked " + what + f + " vs memcpy", ours, mem, false});
            }
        }
        for (size_t i = 0; i < options.size(); ++i) {
            const BlitOption* o = &options[i];
            const auto name = reg(
                "Option" + std::to_string(o->kind), [o](auto& s) { SpritesOurs(s, 48, false, o); },
                format);
            gRatios.push_back(
                {"option kind " + std::to_string(o->kind) + " 48x48" + f + " vs plain keyed", name,
                 plain, false});
        }
        const auto six = reg("Compose6Layers", Compose, format);
        const auto mem6 = reg(
            "Memcpy6Screens", [](auto& s) { MemcpyScreens(s, 6); }, format);
        gRatios.push_back(
            {"six-layer composition (0,1,1,2,1,1)" + f + " vs memcpy", six, mem6, false});
        const auto keyed = reg("ComposeKeyed", ComposeKeyedOnly, format);
        const auto mem1 = reg(
            "Memcpy1Screen", [](auto& s) { MemcpyScreens(s, 1); }, format);
        gRatios.push_back({"keyed full-screen layer" + f + " vs memcpy", keyed, mem1, false});
        gRatios.push_back({"blended FillRect 640x480" + f + " vs memcpy",
                           reg("FillBlend", FillBlend, format), mem1, false});
        gRatios.push_back({"Scroll 456x408 by 6" + f + " vs memmove",
                           reg("Scroll", ScrollView, format),
                           reg("MemmoveScroll", MemmoveScroll, format), false});
    }
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
        std::printf("  blitters: %s\n",
                    graphics::blitIsaAvailable(graphics::BlitIsa::Avx2) ? "AVX2" : "baseline");
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
