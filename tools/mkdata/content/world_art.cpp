// What the world's objects need beyond the village art: the health bar's dead sign and the
// sounds of composed characters' motions (300 to 313 for the attack and spell motions, 406 for
// a bow).
#include <cmath>

#include "base/log.h"
#include "mkdata/content.h"
#include "mkdata/content/synth.h"
#include "mkdata/epf_writer.h"
#include "mkdata/wav_writer.h"

namespace vs::mkdata {
namespace {

// A small grey headstone with a dark cross, 15 × 16, for frame 0 of DEADSIGN.EPF.
SpriteFrame deadSign() {
    SpriteFrame f(0, 0, 15, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 15; ++x) {
            const double dx = x - 7, dy = y - 6;
            const bool stone = (y >= 6 && x >= 1 && x <= 13) || dx * dx + dy * dy <= 36.5;
            if (stone) f.put(x, y, uint8_t(y == 15 || x == 1 || x == 13 ? 136 : 139));
        }
    for (int y = 3; y <= 12; ++y) f.put(7, y, 129);
    for (int x = 4; x <= 10; ++x) f.put(x, 6, 129);
    return f;
}

// A tone sweeping from `from` to `to` Hz with noise on top, `length` seconds.
std::vector<float> whoosh(double length, double from, double to, float noise, uint32_t seed) {
    std::vector<float> s(synth::samplesFor(length));
    synth::Noise n(seed);
    synth::LowPass lp(0.6f);
    double phase = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / synth::kRate;
        const double f = from + (to - from) * t / length;
        phase += 2 * synth::kPi * f / synth::kRate;
        const float e = synth::envelope(t, length, 0.01, length / 3);
        s[i] = e * (float(std::sin(phase)) * (1.0f - noise) + lp(n.next()) * noise);
    }
    return s;
}

}  // namespace
}  // namespace vs::mkdata

MKDATA_CONTENT(world_art, 320) {
    using namespace vs::mkdata;
    EpfWriter sign(15, 16);
    sign.add(deadSign());
    data.archive("MISC.DAT").add("DEADSIGN.EPF", sign.build());
    auto& sounds = data.archive("SND.DAT");
    auto add = [&](int number, std::vector<float> samples) {
        synth::finish(samples, 0.7f);
        sounds.add(vs::base::strprintf("%03d.wav", number),
                   wavFile(toPcm16(samples), synth::kRate));
    };
    for (int k = 0; k <= 13; ++k)
        add(300 + k, whoosh(0.18 + 0.02 * (k % 4), 300.0 + 90 * k, 120.0 + 40 * k,
                            0.3f + 0.04f * float(k % 5), uint32_t(31 + k)));
    add(406, whoosh(0.25, 900, 500, 0.15f, 97));
}
