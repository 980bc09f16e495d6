#pragma once
#include <memory>

#include "platform/audio_device.h"

namespace vs::platform {

// Sound through SDL2_mixer: eight mixer channels for the voices, its music stream for MP3 files
// read through the program's file opener, and a post-mix hook for a synthesizer. There is no CD
// drive on this backend. Only one can be open at a time (the mixer is process-wide).
class SdlAudioDevice final : public AudioDevice {
  public:
    SdlAudioDevice();
    ~SdlAudioDevice() override;
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    bool open(int rate, int latencyMs) override;
    void close() override;
    bool isOpen() const override;
    int outputRate() const override;

    bool setVoiceData(int voice, std::span<const uint8_t> wav) override;
    void setVoiceVolume(int voice, int volume) override;
    void startVoice(int voice) override;
    void stopVoice(int voice) override;
    bool voiceDone(int voice) override;

    void setFileOpener(AudioFileOpener opener) override;
    void setStreamEndHandler(StreamEndHandler handler) override;
    bool openStream(std::string_view name, uint64_t token) override;
    void playStream(int loops) override;
    void setStreamLoops(int loops) override;
    void setStreamVolume(int volume) override;
    StreamStatus streamStatus() override;
    void closeStream() override;

    void setMixHook(MixHook hook) override;

    bool cdOpen(int) override { return false; }
    void cdClose() override {}
    int cdTrackCount() override { return 0; }
    bool cdTrackRange(int, uint32_t&, uint32_t&) override { return false; }
    void cdPlay(uint32_t, uint32_t) override {}
    void cdStop() override {}
    void cdPause() override {}
    void cdResume() override {}
    void cdSetVolume(int) override {}

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vs::platform
