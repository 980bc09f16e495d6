// The music archive: short synthesised tunes encoded as MP3 tracks "%08d.MP3" (999 is the title
// music), an in-order playlist ".LST" and a random one ".LSR".
#include <map>
#include <mutex>

#include "base/log.h"
#include "mkdata/content.h"
#include "mkdata/content/demo_sounds.h"
#include "mkdata/content/synth.h"
#include "mkdata/mp3_encoder.h"
#include "mkdata/text_file.h"
#include "mkdata/wav_writer.h"

namespace vs::mkdata {
namespace {

using namespace synth;

enum class Instrument { Lead, Pad, Bass, Pluck, Bell };

struct Note {
    double beat;   // start
    double beats;  // length
    int pitch;     // MIDI note number
    Instrument instrument;
    float gain;
};

std::vector<float> renderNote(const Note& n, double secondsPerBeat) {
    const double length = n.beats * secondsPerBeat;
    const double f = frequencyOf(n.pitch);
    std::vector<float> s(samplesFor(length));
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double p = 2 * kPi * f * t;
        double v = 0, env = 0;
        switch (n.instrument) {
            case Instrument::Lead: {
                const double vibrato = t > 0.25 ? 0.004 * std::sin(2 * kPi * 5.5 * t) : 0;
                const double q = p * (1 + vibrato);
                v = std::sin(q) + 0.25 * std::sin(3 * q) + 0.1 * std::sin(5 * q);
                env = envelope(t, length, 0.03, 1.2, 0.06);
                break;
            }
            case Instrument::Pad:
                v = std::sin(p) + std::sin(p * 1.003) + 0.5 * std::sin(2 * p * 0.998);
                env = envelope(t, length, std::min(0.4, length / 3), 6.0, 0.2);
                break;
            case Instrument::Bass:
                v = std::sin(p) + 0.35 * std::sin(2 * p);
                env = envelope(t, length, 0.01, 0.5, 0.05);
                break;
            case Instrument::Pluck:
                v = std::sin(p) + 0.5 * std::sin(2 * p) * std::exp2(-t / 0.08) +
                    0.3 * std::sin(3 * p) * std::exp2(-t / 0.05);
                env = envelope(t, length, 0.003, 0.22, 0.03);
                break;
            case Instrument::Bell:
                v = std::sin(p) + 0.4 * std::sin(2.76 * p) * std::exp2(-t / 0.3) +
                    0.2 * std::sin(5.4 * p) * std::exp2(-t / 0.15);
                env = envelope(t, length, 0.002, 0.5, 0.05);
                break;
        }
        s[i] = float(v * env) * n.gain;
    }
    return s;
}

// The notes mixed into a tune exactly `beats` long, so that it loops in time.
std::vector<float> render(const std::vector<Note>& notes, double bpm, double beats) {
    const double spb = 60.0 / bpm;
    std::vector<float> out(samplesFor(beats * spb), 0.0f);
    for (const Note& n : notes) mixInto(out, renderNote(n, spb), samplesFor(n.beat * spb), 1.0f);
    out.resize(samplesFor(beats * spb));
    finish(out, 0.8f);
    return out;
}

// One bar per chord: a pad, a bass on the first and third beat, and the melody given as
// (pitch, beats) pairs, 0 a rest.
struct Tune {
    double bpm;
    std::vector<std::vector<int>> chords;  // pitches of each bar's chord, lowest first
    std::vector<std::pair<int, double>> melody;
    Instrument lead;
    bool arpeggio;  // plucked broken chords in eighths as well
};

std::vector<float> compose(const Tune& tune) {
    std::vector<Note> notes;
    double bar = 0;
    for (const auto& chord : tune.chords) {
        for (int p : chord) notes.push_back({bar, 4, p, Instrument::Pad, 0.12f});
        notes.push_back({bar, 2, chord.front() - 12, Instrument::Bass, 0.35f});
        notes.push_back({bar + 2, 2, chord.front() - 12, Instrument::Bass, 0.3f});
        if (tune.arpeggio) {
            for (int i = 0; i < 8; ++i) {
                const int p = chord[size_t(i) % chord.size()] + (i >= 4 ? 12 : 0);
                notes.push_back({bar + i * 0.5, 0.5, p, Instrument::Pluck, 0.12f});
            }
        }
        bar += 4;
    }
    double at = 0;
    for (const auto& [pitch, beats] : tune.melody) {
        if (pitch) notes.push_back({at, beats, pitch, tune.lead, 0.3f});
        at += beats;
    }
    return render(notes, tune.bpm, bar);
}

// Chords by MIDI pitches (C4 = 60).
const std::vector<int> kAm{57, 60, 64}, kF{53, 57, 60}, kC{48, 52, 55}, kG{55, 59, 62},
    kE{52, 56, 59}, kBb{58, 62, 65}, kDm{50, 53, 57}, kGm{55, 58, 62}, kA{57, 61, 64},
    kFhigh{65, 69, 72}, kChigh{60, 64, 67};

Tune tuneFor(int track) {
    switch (track) {
        case kTrackTitle:
            return {84,
                    {kAm, kF, kC, kG, kAm, kF, kG, kE},
                    {{76, 1}, {81, 1}, {84, 1.5}, {83, 0.5}, {81, 2}, {79, 1}, {77, 1},
                     {76, 1}, {79, 1}, {84, 1},   {88, 1},   {86, 2}, {83, 1}, {79, 1},
                     {81, 1}, {84, 1}, {88, 1.5}, {86, 0.5}, {84, 2}, {81, 1}, {77, 1},
                     {83, 1}, {86, 1}, {79, 1},   {83, 1},   {80, 2}, {76, 2}},
                    Instrument::Lead,
                    false};
        case kTrackField:
            return {104,
                    {kChigh, kG, kAm, kF},
                    {{76, 1},
                     {79, 1},
                     {84, 2},
                     {83, 1},
                     {79, 1},
                     {74, 2},
                     {76, 1},
                     {72, 1},
                     {81, 2},
                     {77, 1},
                     {81, 1},
                     {79, 2}},
                    Instrument::Lead,
                    true};
        case kTrackTown:
            return {92,
                    {kFhigh, kBb, kChigh, kFhigh},
                    {{81, 1},
                     {84, 1},
                     {81, 1},
                     {77, 1},
                     {82, 2},
                     {86, 2},
                     {84, 1},
                     {79, 1},
                     {76, 1},
                     {79, 1},
                     {77, 4}},
                    Instrument::Bell,
                    true};
        case kTrackCave:
        default:
            return {70,
                    {kDm, kBb, kGm, kA},
                    {{74, 3}, {0, 1}, {77, 2}, {74, 2}, {70, 3}, {0, 1}, {73, 4}},
                    Instrument::Bell,
                    false};
    }
}

// Synthesis and encoding are the slow part of the demo data: each track is made once a process.
std::vector<uint8_t> track(int number) {
    static std::mutex mutex;
    static std::map<int, std::vector<uint8_t>> made;
    std::lock_guard lock(mutex);
    auto it = made.find(number);
    if (it == made.end()) {
        const std::vector<float> samples = compose(tuneFor(number));
        it = made.emplace(number, encodeMp3(wavFile(toPcm16(samples), kRate))).first;
    }
    return it->second;
}

}  // namespace
}  // namespace vs::mkdata

MKDATA_CONTENT(music, 300) {
    using namespace vs::mkdata;
    auto& archive = data.archive(kMusicArchive);
    for (int n : {kTrackField, kTrackTown, kTrackCave, kTrackTitle})
        archive.add(vs::base::strprintf("%08d.MP3", n), track(n));
    const std::vector<std::string> list = {"3", "1", "2", "3"};
    archive.add(vs::base::strprintf("%08d.LST", kPlaylistInOrder), textFile(list));
    archive.add(vs::base::strprintf("%08d.LSR", kPlaylistRandom), textFile(list));
}
