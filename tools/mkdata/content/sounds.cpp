// The sound effects in "SND.DAT": short synthesised WAV files "%03d.wav", 22050 Hz mono.
#include <functional>
#include <map>

#include "base/log.h"
#include "mkdata/content.h"
#include "mkdata/content/demo_sounds.h"
#include "mkdata/content/synth.h"
#include "mkdata/wav_writer.h"

namespace vs::mkdata {
namespace {

using namespace synth;

// A tone whose frequency glides from f0 to f1, shaped by an envelope.
std::vector<float> glide(double seconds, double f0, double f1, double attack, double halfLife,
                         double harmonics = 0.0) {
    std::vector<float> s(samplesFor(seconds));
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        phase += 2 * kPi * (f0 + (f1 - f0) * t / seconds) / kRate;
        const double v = std::sin(phase) + harmonics * std::sin(2 * phase) +
                         harmonics * 0.5 * std::sin(3 * phase);
        s[i] = float(v) * envelope(t, seconds, attack, halfLife);
    }
    return s;
}

// Noise through a low-pass filter, shaped by an envelope.
std::vector<float> burst(double seconds, float dullness, double attack, double halfLife,
                         uint32_t seed) {
    std::vector<float> s(samplesFor(seconds));
    Noise noise(seed);
    LowPass filter(dullness);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = filter(noise.next()) * envelope(double(i) / kRate, seconds, attack, halfLife);
    return s;
}

// A struck bell: partials that die away, the higher ones faster.
std::vector<float> bell(double seconds, double f, double halfLife) {
    static constexpr double kPartials[][2] = {{1.0, 1.0}, {2.0, 0.5}, {2.76, 0.35}, {5.4, 0.15}};
    std::vector<float> s(samplesFor(seconds));
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        double v = 0;
        for (const auto& [ratio, gain] : kPartials)
            v += gain * std::sin(2 * kPi * f * ratio * t) * std::exp2(-t * ratio / halfLife);
        s[i] = float(v) * envelope(t, seconds, 0.002, 1e9);
    }
    return s;
}

std::vector<float> hit() {
    auto s = glide(0.25, 110, 45, 0.002, 0.05);
    mixInto(s, burst(0.12, 0.6f, 0.001, 0.02, 7), 0, 0.7f);
    return s;
}

std::vector<float> step(float dullness, uint32_t seed) {
    auto s = burst(0.12, dullness, 0.004, 0.018, seed);
    mixInto(s, burst(0.06, dullness, 0.002, 0.01, seed + 1), samplesFor(0.035), 0.5f);
    return s;
}

std::vector<float> swing(double seconds, uint32_t seed) {
    std::vector<float> s(samplesFor(seconds));
    Noise noise(seed);
    float y = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double x = double(i) / double(s.size());
        const double shape = std::sin(kPi * x);
        const float a = float(0.97 - 0.35 * shape);  // brighter in the middle of the sweep
        y = y * a + noise.next() * (1.0f - a);
        s[i] = y * float(shape * shape);
    }
    return s;
}

std::vector<float> door() {
    // A creak: a buzzing tone that wavers and slows, then the thud of the door closing.
    std::vector<float> s(samplesFor(0.75));
    double phase = 0;
    for (size_t i = 0; i < samplesFor(0.45); ++i) {
        const double t = double(i) / kRate;
        phase += (170 - 50 * t + 12 * std::sin(2 * kPi * 9 * t)) / kRate;
        const double saw = 2 * (phase - std::floor(phase)) - 1;
        s[i] = float(saw * 0.35 * (0.6 + 0.4 * std::sin(2 * kPi * 23 * t))) *
               envelope(t, 0.45, 0.03, 0.5);
    }
    mixInto(s, glide(0.3, 80, 50, 0.002, 0.06), samplesFor(0.45));
    return s;
}

std::vector<float> coin() {
    auto s = bell(0.45, 1976, 0.12);
    mixInto(s, bell(0.4, 2637, 0.1), samplesFor(0.07));
    return s;
}

std::vector<float> click(double f) {
    auto s = glide(0.04, f, f, 0.0005, 0.005);
    mixInto(s, burst(0.01, 0.2f, 0.0002, 0.002, 11), 0, 0.4f);
    return s;
}

std::vector<float> arpeggio(std::initializer_list<int> notes, double gap, double ring) {
    std::vector<float> s;
    size_t at = 0;
    for (int n : notes) {
        mixInto(s, bell(ring, frequencyOf(n), 0.18), at);
        at += samplesFor(gap);
    }
    return s;
}

std::vector<float> page() {
    // Paper: a few bright rustles.
    std::vector<float> s;
    const double starts[] = {0.0, 0.05, 0.11};
    uint32_t seed = 21;
    for (double t : starts) {
        auto b = burst(0.08, 0.15f, 0.005, 0.015, seed++);
        mixInto(s, b, samplesFor(t), 1.0f);
    }
    return s;
}

std::vector<float> shimmer(double f0, double f1) {
    std::vector<float> s(samplesFor(0.55));
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double f = f0 * std::pow(f1 / f0, t / 0.55);
        phase += 2 * kPi * f * (1 + 0.01 * std::sin(2 * kPi * 7 * t)) / kRate;
        const double tremolo = 0.7 + 0.3 * std::sin(2 * kPi * 14 * t);
        s[i] = float((std::sin(phase) + 0.3 * std::sin(3 * phase)) * tremolo) *
               envelope(t, 0.55, 0.05, 0.3);
    }
    return s;
}

std::vector<float> soundFor(int number) {
    switch (number) {
        case kSoundHit:
            return hit();
        case kSoundStepGrass:
            return step(0.9f, 3);
        case kSoundStepStone:
            return step(0.45f, 5);
        case kSoundSwing:
            return swing(0.3, 9);
        case kSoundDoor:
            return door();
        case kSoundCoin:
            return coin();
        case kSoundClick:
            return click(1800);
        case kSoundEnterGame:
            return arpeggio({72, 76, 79, 84}, 0.09, 0.7);
        case kSoundTitleLeave:
            return arpeggio({79, 72}, 0.14, 0.4);
        case kSoundButton:
            return click(1200);
        case kSoundPage:
            return page();
        case kSoundShapeUp:
            return shimmer(400, 1600);
        case kSoundShapeDown:
            return shimmer(1600, 400);
        case kSoundTitleDialog:
            return bell(0.8, frequencyOf(81), 0.25);
        case kSoundMissileHit: {
            auto s = glide(0.2, 160, 70, 0.001, 0.04);
            mixInto(s, burst(0.1, 0.4f, 0.001, 0.02, 13), 0, 0.8f);
            return s;
        }
        case kSoundMissile:
            return swing(0.35, 17);
        default:
            return {};
    }
}

}  // namespace
}  // namespace vs::mkdata

MKDATA_CONTENT(sounds, 300) {
    using namespace vs::mkdata;
    auto& archive = data.archive("SND.DAT");
    for (const DemoSound& sound : kDemoSounds) {
        std::vector<float> samples = soundFor(sound.number);
        synth::finish(samples, 0.7f);
        archive.add(vs::base::strprintf("%03d.wav", sound.number),
                    wavFile(toPcm16(samples), synth::kRate));
    }
}
