#pragma once
// Small sound synthesis for the demo's effects and music: everything is computed from fixed
// numbers (no clock, no system random), so the data builder writes the same bytes every run.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vs::mkdata::synth {

inline constexpr int kRate = 22050;
inline constexpr double kPi = 3.14159265358979323846;

// Deterministic white noise in -1..1.
class Noise {
  public:
    explicit Noise(uint32_t seed = 1) : state_(seed ? seed : 1) {}
    float next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return float(int32_t(state_)) / 2147483648.0f;
    }

  private:
    uint32_t state_;
};

inline size_t samplesFor(double seconds) {
    return size_t(seconds * kRate + 0.5);
}

inline double frequencyOf(int midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

// Attack, then an exponential decay with the given half-life, then a short release at the end
// of `length` seconds.
inline float envelope(double t, double length, double attack, double halfLife,
                      double release = 0.02) {
    if (t < 0 || t >= length) return 0.0f;
    double v = t < attack ? t / attack : std::exp2(-(t - attack) / halfLife);
    if (t > length - release) v *= (length - t) / release;
    return float(v);
}

// A one-pole low-pass filter: the higher `amount` (0..1), the duller.
class LowPass {
  public:
    explicit LowPass(float amount) : a_(amount) {}
    float operator()(float x) { return y_ = y_ * a_ + x * (1.0f - a_); }

  private:
    float a_;
    float y_ = 0.0f;
};

// Adds `add` into `into` from sample `at` on, growing it when needed.
inline void mixInto(std::vector<float>& into, const std::vector<float>& add, size_t at,
                    float gain = 1.0f) {
    if (into.size() < at + add.size()) into.resize(at + add.size(), 0.0f);
    for (size_t i = 0; i < add.size(); ++i) into[at + i] += add[i] * gain;
}

// Scales to the peak and fades the first and last few milliseconds against clicks.
inline void finish(std::vector<float>& s, float peak = 0.8f) {
    float max = 0.0f;
    for (float v : s) max = std::max(max, std::fabs(v));
    if (max > 0.0f)
        for (float& v : s) v *= peak / max;
    const size_t edge = std::min(s.size() / 2, samplesFor(0.004));
    for (size_t i = 0; i < edge; ++i) {
        const float g = float(i) / float(edge);
        s[i] *= g;
        s[s.size() - 1 - i] *= g;
    }
}

}  // namespace vs::mkdata::synth
