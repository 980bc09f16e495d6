// The real sound backend on SDL's "disk" driver, which writes the mixed output to a file: what is
// played must really be in it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "mkdata/mp3_encoder.h"
#include "mkdata/wav_writer.h"
#include "platform/sdl/sdl_audio_device.h"
#include "support/disk_audio.h"
#include "support/temp_dir.h"

namespace vs::platform {
namespace {

std::vector<uint8_t> toneWav(double seconds, double frequency = 440, double amplitude = 0.5) {
    std::vector<float> s(size_t(seconds * 22050));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = float(amplitude * std::sin(2 * 3.14159265358979 * frequency * double(i) / 22050));
    return mkdata::wavFile(mkdata::toPcm16(s), 22050);
}

class MemoryAudioFile final : public AudioFile {
  public:
    explicit MemoryAudioFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    int64_t size() const override { return int64_t(bytes_.size()); }
    size_t read(void* buffer, size_t n) override {
        if (pos_ >= size()) return 0;
        n = std::min(n, size_t(size() - pos_));
        std::memcpy(buffer, bytes_.data() + pos_, n);
        pos_ += int64_t(n);
        return n;
    }
    int64_t seek(int64_t offset, int whence) override {
        const int64_t from = whence == 0 ? 0 : whence == 1 ? pos_ : whence == 2 ? size() : -1;
        if (from < 0 || from + offset < 0) return -1;
        return pos_ = from + offset;
    }

  private:
    std::vector<uint8_t> bytes_;
    int64_t pos_ = 0;
};

class SdlAudioTest : public testing::Test {
  protected:
    static bool waitFor(const std::function<bool()>& done, int ms) {
        for (int waited = 0; waited < ms; waited += 10) {
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return done();
    }

    test::TempDir dir{"sdl_audio"};
    test::DiskAudioOutput output{dir / "out.raw"};
    SdlAudioDevice device;
};

TEST_F(SdlAudioTest, ASampleFromMemoryIsHeard) {
    ASSERT_TRUE(device.open(22050, 16));
    EXPECT_EQ(device.outputRate(), 22050);
    EXPECT_FALSE(device.setVoiceData(0, std::vector<uint8_t>{'R', 'I', 'F', 'F'}));
    const std::vector<uint8_t> wav = toneWav(0.3);
    ASSERT_TRUE(device.setVoiceData(2, wav));
    device.setVoiceVolume(2, AudioDevice::kMaxVolume);
    device.startVoice(2);
    EXPECT_FALSE(device.voiceDone(2));
    EXPECT_TRUE(waitFor([&] { return device.voiceDone(2); }, 3000));
    device.close();
    EXPECT_GT(output.peak(), 8000);
}

TEST_F(SdlAudioTest, AnMp3StreamIsHeardAndItsEndReported) {
    const std::vector<uint8_t> mp3 = mkdata::encodeMp3(toneWav(0.6, 330));
    device.setFileOpener([&](std::string_view name) -> std::unique_ptr<AudioFile> {
        if (name == "garbage.mp3")
            return std::make_unique<MemoryAudioFile>(std::vector<uint8_t>(500, 0x55));
        if (name != "tone.mp3") return nullptr;
        return std::make_unique<MemoryAudioFile>(mp3);
    });
    std::atomic<int> ends{0};
    std::atomic<uint64_t> token{0};
    device.setStreamEndHandler([&](uint64_t t) {
        token = t;
        ++ends;
    });
    ASSERT_TRUE(device.open(22050, 16));
    EXPECT_FALSE(device.openStream("missing.mp3", 1));
    EXPECT_FALSE(device.openStream("garbage.mp3", 1));
    EXPECT_EQ(device.streamStatus(), AudioDevice::StreamStatus::None);
    ASSERT_TRUE(device.openStream("tone.mp3", 42));
    device.setStreamVolume(AudioDevice::kMaxVolume);
    device.playStream(1);
    EXPECT_EQ(device.streamStatus(), AudioDevice::StreamStatus::Playing);
    ASSERT_TRUE(waitFor([&] { return ends > 0; }, 5000));
    EXPECT_EQ(token, 42u);
    EXPECT_EQ(device.streamStatus(), AudioDevice::StreamStatus::Stopped);
    // A stream closed by the program has not ended on its own.
    ASSERT_TRUE(device.openStream("tone.mp3", 43));
    device.playStream(0);
    device.setStreamLoops(2);
    device.closeStream();
    device.close();
    EXPECT_EQ(ends, 1);
    EXPECT_GT(output.peak(), 8000);
}

TEST_F(SdlAudioTest, TheMixHookAddsToTheOutputAndThereIsNoCd) {
    std::atomic<size_t> mixed{0};
    device.setMixHook([&](int16_t* samples, size_t frames) {
        for (size_t i = 0; i < frames * 2; ++i) samples[i] = int16_t(i % 2 ? 3000 : -3000);
        mixed += frames;
    });
    ASSERT_TRUE(device.open(44100, 16));
    EXPECT_TRUE(waitFor([&] { return mixed > 4096; }, 3000));
    device.setMixHook({});
    device.close();
    EXPECT_GE(output.peak(), 3000);
    EXPECT_FALSE(device.cdOpen(0));
    EXPECT_EQ(device.cdTrackCount(), 0);
}

TEST(SdlAudioDevice, WithoutASoundOutputItStaysClosed) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlAudioDevice device;
    EXPECT_FALSE(device.open(22050, 16));
    EXPECT_FALSE(device.isOpen());
    EXPECT_FALSE(device.setVoiceData(0, std::vector<uint8_t>(64, 0)));
    EXPECT_FALSE(device.openStream("x.mp3", 1));
    EXPECT_EQ(device.streamStatus(), AudioDevice::StreamStatus::None);
    unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
}  // namespace vs::platform
