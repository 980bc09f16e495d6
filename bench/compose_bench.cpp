// The composition of the six layers, next to memcpy of one screenful (614400 bytes) measured in
// the same run:
// - every layer's full-screen pane repainted and composed (modes 0, 1, 1, 2, 1, 1), the worst
//   frame;
// - one 48 × 48 pane moving over an opaque full-screen pane beneath five other layers, the usual
//   frame, which composes only the area that changed.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "graphics/pixel_format.h"
#include "graphics/surface.h"
#include "ratio_reporter.h"
#include "ui/layer.h"
#include "ui/pane.h"

namespace {

using namespace vs;
using base::Rect;

constexpr size_t kBytes = 640 * 480 * sizeof(uint16_t);

// Paints nothing (its pixels stay as filled once), so that only the composition is measured.
class StillPane final : public ui::Pane {
  public:
    explicit StillPane(uint8_t mode) : Pane(mode) {}
    void Fill(uint16_t seed) {
        Lock();
        uint16_t* px = Picture().pixels16();
        const auto n = size_t(GetBounds().width()) * size_t(GetBounds().height());
        for (size_t i = 0; i < n; ++i) px[i] = (i / 7 + seed) % 5 ? uint16_t(i * 40503u >> 3) : 0;
        Unlock();
    }
};

struct Screen {
    Screen() {
        for (size_t i = 0; i < layers.size(); ++i) {
            layers[i] = std::make_unique<ui::Layer>(&screen);
            raw[i] = layers[i].get();
        }
    }
    ui::ScreenPane screen;
    std::array<std::unique_ptr<ui::Layer>, 6> layers;
    std::array<ui::Layer*, 6> raw{};
    graphics::Surface back{640, 480};
};

void Memcpy(benchmark::State& state) {
    std::vector<uint16_t> src(kBytes / 2, 0x1234), dst(kBytes / 2);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), kBytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
}

void ComposeSixFullLayers(benchmark::State& state) {
    Screen s;
    const uint8_t modes[6] = {0, 1, 1, 2, 1, 1};
    std::vector<std::unique_ptr<StillPane>> panes;
    for (int i = 0; i < 6; ++i) {
        panes.push_back(std::make_unique<StillPane>(modes[i]));
        panes.back()->Attach({0, 0, 640, 480}, nullptr, nullptr, s.raw[size_t(i)]);
        panes.back()->Fill(uint16_t(i));
    }
    for (auto _ : state) {
        for (auto& p : panes) p->Invalidate();
        Rect total;
        s.screen.Compose(s.back, s.raw, total);
        benchmark::ClobberMemory();
    }
}

void ComposeOneMovingPane(benchmark::State& state) {
    Screen s;
    StillPane ground(ui::Pane::kCopy), sprite(ui::Pane::kKeyed);
    ground.Attach({0, 0, 640, 480}, nullptr, nullptr, s.raw[0]);
    ground.Fill(1);
    sprite.Attach({0, 0, 48, 48}, nullptr, nullptr, s.raw[2]);
    sprite.Fill(2);
    int x = 0;
    for (auto _ : state) {
        x = (x + 3) % 580;
        sprite.SetRect(Rect::fromSize(x, 200, 48, 48));
        Rect total;
        s.screen.Compose(s.back, s.raw, total);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(Memcpy);
BENCHMARK(ComposeSixFullLayers);
BENCHMARK(ComposeOneMovingPane);

}  // namespace

int main(int argc, char** argv) {
    graphics::selectPixelFormat(graphics::PixelFormat::k565);
    return vs::bench::runWithRatios(argc, argv, "Memcpy",
                                    "against memcpy of one screenful, 614400 bytes");
}
