// The display's two full-screen paths, each next to memcpy of the same 614400 bytes: one fade
// step over the whole screen, and a present of a whole changed screen (back buffer to front
// buffer to the screen's copy).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/frame_clock.h"
#include "graphics/ddraw_device.h"
#include "graphics/display.h"
#include "graphics/pixel_format.h"
#include "platform/headless/headless_platform.h"

namespace {

using namespace vs;
constexpr size_t kPixels = 640 * 480;
constexpr size_t kBytes = kPixels * sizeof(uint16_t);

std::vector<uint16_t> screenful() {
    std::vector<uint16_t> v(kPixels);
    for (size_t i = 0; i < kPixels; ++i) v[i] = uint16_t(i * 2654435761u >> 7);
    return v;
}

void Memcpy(benchmark::State& state) {
    const auto src = screenful();
    std::vector<uint16_t> dst(kPixels);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), kBytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}

void FadeStep(benchmark::State& state) {
    graphics::selectPixelFormat(state.range(0) ? graphics::PixelFormat::k565
                                               : graphics::PixelFormat::k555);
    const auto src = screenful();
    auto buf = src;
    const auto fade = graphics::pixelFunctions().fade;
    int level = 1;
    for (auto _ : state) {
        fade(buf.data(), kPixels, level);
        benchmark::DoNotOptimize(buf.data());
        benchmark::ClobberMemory();
        // Levels 1…23 in turn, on a picture that stays the same size of work.
        if (++level == 24) level = 1, buf = src;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}

void PresentFullScreen(benchmark::State& state) {
    platform::HeadlessPlatform platform;
    platform.screen.setNative565(state.range(0) != 0);
    app::FrameClock clock(platform.clock);
    graphics::DDrawDevice device;
    graphics::Display display(640, 480, 16);
    display.Setup();
    const auto src = screenful();
    std::memcpy(display.BackBuffer().pixels(), src.data(), kBytes);
    for (auto _ : state) {
        display.MarkDirty({0, 0, 640, 480});
        display.Present();
        platform.screen.clearRecord();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}

BENCHMARK(Memcpy);
BENCHMARK(FadeStep)->Arg(0)->Arg(1)->ArgName("565");
BENCHMARK(PresentFullScreen)->Arg(0)->Arg(1)->ArgName("565");

// Keeps the time per iteration of every run, to print each kernel against memcpy at the end.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs) {
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                times_[r.benchmark_name()] = r.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        auto base = times_.find("Memcpy");
        if (base == times_.end() || base->second <= 0) return;
        std::printf("\nagainst memcpy of the same %zu bytes (CPU time ratio, lower is faster):\n",
                    kBytes);
        for (const auto& [name, t] : times_) {
            if (name != "Memcpy")
                std::printf("  %-28s %6.2f x memcpy\n", name.c_str(), t / base->second);
        }
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
