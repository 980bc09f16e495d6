#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "platform/registered.h"

namespace vs::platform {

// A file a music stream is read from, found by the program's own lookup (the archives first,
// then the disk). The device reads it on its own threads, so an implementation touches nothing
// but its own state and read-only data.
class AudioFile {
  public:
    virtual ~AudioFile() = default;
    virtual int64_t size() const = 0;
    // Up to n bytes from the position; the number copied, 0 at the end.
    virtual size_t read(void* buffer, size_t n) = 0;
    // As fseek: whence 0 from the start, 1 from the position, 2 from the end; a position past the
    // end is allowed and reads nothing. The new position, or -1 (position unchanged) for a target
    // before the start or an unknown whence.
    virtual int64_t seek(int64_t offset, int whence) = 0;
};

// Opens a stream file by name; null when there is none.
using AudioFileOpener = std::function<std::unique_ptr<AudioFile>(std::string_view name)>;

// Sound output: eight sample voices, one music stream, an audio CD, all mixed into 16-bit
// stereo. Every call is made on the UI thread. While the device is not open every operation does
// nothing and reports failure; the CD operations work on their own.
class AudioDevice : public Registered<AudioDevice> {
  public:
    static constexpr int kVoices = 8;
    static constexpr int kMaxVolume = 127;
    enum class StreamStatus { None, Playing, Stopped };
    // Adds to the mixed output, interleaved stereo frames, on the device's mixing thread.
    using MixHook = std::function<void(int16_t* samples, size_t frames)>;
    // On a device thread when a stream plays to its end (never for closeStream), with the token
    // the stream was opened with.
    using StreamEndHandler = std::function<void(uint64_t token)>;

    virtual ~AudioDevice() = default;

    // Opens the output at rate Hz (22050 or 44100), 16 bits, 2 channels; latencyMs sizes the
    // mixing buffer. False when there is no sound output.
    virtual bool open(int rate, int latencyMs) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The rate the output really runs at; 0 when closed.
    virtual int outputRate() const = 0;

    // Voices 0..kVoices-1. The bytes are a whole WAV file, read in place: they must stay valid
    // until the voice is given other data or the device closes. Stops what the voice played;
    // false when the bytes cannot be played (the voice is then silent).
    virtual bool setVoiceData(int voice, std::span<const uint8_t> wav) = 0;
    virtual void setVoiceVolume(int voice, int volume) = 0;  // 0..kMaxVolume
    virtual void startVoice(int voice) = 0;
    virtual void stopVoice(int voice) = 0;
    // True when the voice is not playing (never started, finished, or stopped).
    virtual bool voiceDone(int voice) = 0;

    // The music stream. Files are opened by name through the opener.
    virtual void setFileOpener(AudioFileOpener opener) = 0;
    virtual void setStreamEndHandler(StreamEndHandler handler) = 0;
    // Replaces any open stream; false when the file is missing or not a stream it can decode.
    virtual bool openStream(std::string_view name, uint64_t token) = 0;
    // Plays the open stream from its start, loops times; 0 is endless.
    virtual void playStream(int loops) = 0;
    // A new loop count for the playing stream, which keeps its place.
    virtual void setStreamLoops(int loops) = 0;
    virtual void setStreamVolume(int volume) = 0;  // 0..kMaxVolume
    virtual StreamStatus streamStatus() = 0;
    virtual void closeStream() = 0;

    // Where a synthesizer adds its output to the mix; an empty hook removes it.
    virtual void setMixHook(MixHook hook) = 0;

    // Audio CD: false when the drive does not exist or holds no audio disc.
    virtual bool cdOpen(int drive) = 0;
    virtual void cdClose() = 0;
    virtual int cdTrackCount() = 0;
    // Track 1..count: its start and end on the disc, in milliseconds.
    virtual bool cdTrackRange(int track, uint32_t& startMs, uint32_t& endMs) = 0;
    virtual void cdPlay(uint32_t startMs, uint32_t endMs) = 0;
    virtual void cdStop() = 0;
    virtual void cdPause() = 0;
    virtual void cdResume() = 0;
    virtual void cdSetVolume(int volume) = 0;  // 0..kMaxVolume
};

}  // namespace vs::platform
