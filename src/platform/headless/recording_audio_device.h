#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio_device.h"
#include "platform/headless/fake_clock.h"

namespace vs::platform {

// The sound output for tests: nothing is heard; every call is recorded with the fake clock's
// time. Voices play until the test finishes them, a stream until the test ends it, and the CD
// holds the tracks the test inserted.
class RecordingAudioDevice final : public AudioDevice {
  public:
    enum class Op {
        Open,
        Close,
        VoiceData,
        VoiceVolume,
        VoiceStart,
        VoiceStop,
        StreamOpen,
        StreamOpenFailed,
        StreamPlay,
        StreamLoops,
        StreamVolume,
        StreamClose,
        CdOpen,
        CdClose,
        CdPlay,
        CdStop,
        CdPause,
        CdResume,
        CdVolume,
    };
    struct Call {
        uint32_t time;
        Op op;
        int voice = -1;                 // voice calls
        int value = 0;                  // volume, loop count, rate, drive, start of a CD range
        int value2 = 0;                 // end of a CD range
        std::string name;               // stream file
        const uint8_t* data = nullptr;  // voice data
        size_t size = 0;
    };

    explicit RecordingAudioDevice(FakeClock& clock) : clock_(clock) { registerSelf(this); }
    ~RecordingAudioDevice() override { unregisterSelf(this); }

    bool open(int rate, int latencyMs) override;
    void close() override;
    bool isOpen() const override { return open_; }
    int outputRate() const override { return open_ ? rate_ : 0; }

    bool setVoiceData(int voice, std::span<const uint8_t> wav) override;
    void setVoiceVolume(int voice, int volume) override;
    void startVoice(int voice) override;
    void stopVoice(int voice) override;
    bool voiceDone(int voice) override;

    void setFileOpener(AudioFileOpener opener) override { opener_ = std::move(opener); }
    void setStreamEndHandler(StreamEndHandler handler) override {
        endHandler_ = std::move(handler);
    }
    bool openStream(std::string_view name, uint64_t token) override;
    void playStream(int loops) override;
    void setStreamLoops(int loops) override;
    void setStreamVolume(int volume) override;
    StreamStatus streamStatus() override { return status_; }
    void closeStream() override;

    void setMixHook(MixHook hook) override { mixHook_ = std::move(hook); }

    bool cdOpen(int drive) override;
    void cdClose() override;
    int cdTrackCount() override { return cdOpen_ ? int(cdTracks_.size()) : 0; }
    bool cdTrackRange(int track, uint32_t& startMs, uint32_t& endMs) override;
    void cdPlay(uint32_t startMs, uint32_t endMs) override;
    void cdStop() override;
    void cdPause() override;
    void cdResume() override;
    void cdSetVolume(int volume) override;

    // ---- test controls
    // No output (open fails), as on a machine without sound.
    void failOpen(bool fail) { failOpen_ = fail; }
    void finishVoice(int voice);
    // The stream plays to its end: it stops, and the end handler runs as on a device thread.
    void endStream();
    // A disc with tracks of these lengths in milliseconds, in the drive of that number.
    void insertCd(int drive, std::vector<uint32_t> trackLengthsMs);
    // Runs the mix hook over frames of silence and returns what it added.
    std::vector<int16_t> mix(size_t frames);

    // ---- what happened
    const std::vector<Call>& calls() const { return calls_; }
    std::vector<Call> calls(Op op) const;
    void clearCalls() { calls_.clear(); }
    int voiceVolume(int voice) const { return voices_.at(size_t(voice)).volume; }
    const uint8_t* voiceData(int voice) const { return voices_.at(size_t(voice)).data; }
    bool voicePlaying(int voice) const { return voices_.at(size_t(voice)).playing; }
    int streamVolume() const { return streamVolume_; }
    int streamLoops() const { return streamLoops_; }
    uint64_t streamToken() const { return token_; }
    const std::string& streamName() const { return streamName_; }
    AudioFile* streamFile() const { return file_.get(); }
    bool cdPlaying() const { return cdPlaying_; }
    bool cdPaused() const { return cdPaused_; }
    int cdVolume() const { return cdVolume_; }

  private:
    struct Voice {
        const uint8_t* data = nullptr;
        size_t size = 0;
        int volume = 0;
        bool playing = false;
    };
    void record(Call c) {
        c.time = clock_.nowMs();
        calls_.push_back(std::move(c));
    }
    bool validVoice(int voice) const { return open_ && voice >= 0 && voice < kVoices; }

    FakeClock& clock_;
    bool failOpen_ = false, open_ = false;
    int rate_ = 0;
    std::array<Voice, kVoices> voices_{};
    AudioFileOpener opener_;
    StreamEndHandler endHandler_;
    std::unique_ptr<AudioFile> file_;
    std::string streamName_;
    uint64_t token_ = 0;
    StreamStatus status_ = StreamStatus::None;
    int streamVolume_ = kMaxVolume, streamLoops_ = 0;
    MixHook mixHook_;
    int cdDrive_ = -1;
    std::vector<uint32_t> cdTracks_;
    bool cdOpen_ = false, cdPlaying_ = false, cdPaused_ = false;
    int cdVolume_ = kMaxVolume;
    std::vector<Call> calls_;
};

}  // namespace vs::platform
