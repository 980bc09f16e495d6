// The sound manager inside the whole program on the demo data: what start-up opens and finds,
// the window messages that reach it, and, on SDL's "disk" driver, the title music and the sound
// of entering the game really heard.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "app/frame_clock.h"
#include "app/settings.h"
#include "audio/sound_man.h"
#include "client/application.h"
#include "client/client_fixture.h"
#include "mkdata/content/demo_sounds.h"
#include "platform/sdl/sdl_audio_device.h"
#include "support/disk_audio.h"

namespace vs::client {
namespace {

using Op = platform::RecordingAudioDevice::Op;

class SoundStartupTest : public test::ClientFixture {
  protected:
    void startUp() {
        clock_ = std::make_unique<app::FrameClock>(hp.clock);
        client_ = std::make_unique<GameClient>(options);
        client_->startUp();
        sound = audio::SoundMan::instance();
        ASSERT_NE(sound, nullptr);
    }
    void shutDown() {
        client_->shutDown();
        client_.reset();
        clock_.reset();
    }
    void send(platform::Message m) { client_->windowProc(m); }
    // Posted messages go through the window procedure, as the main loop would take them.
    void pump() {
        platform::Message m;
        while (hp.window.peek(m)) client_->windowProc(m);
    }

    audio::SoundMan* sound = nullptr;
    std::unique_ptr<app::FrameClock> clock_;
    std::unique_ptr<GameClient> client_;
};

TEST_F(SoundStartupTest, StartUpOpensTheOutputAndTheDemoDataHasWhatTheScreensAskFor) {
    startUp();
    ASSERT_TRUE(sound->HasDriver());
    EXPECT_EQ(hp.audio.outputRate(), 22050) << "SoundFreq 1 by default";
    for (const auto& s : mkdata::kDemoSounds)
        EXPECT_FALSE(sound->Sample(s.number).empty()) << s.use;

    // What the title screen asks for, and the sound of entering the game.
    sound->PlayMusic(audio::SoundMan::kTitleTrack, 100, 1);
    EXPECT_EQ(hp.audio.streamName(), "00000999.MP3");
    sound->PlaySound(mkdata::kSoundEnterGame, 100);
    EXPECT_EQ(hp.audio.calls(Op::VoiceStart).size(), 1u);

    // A playlist's end comes back through the window procedure.
    sound->PlayMusicNumber(mkdata::kPlaylistInOrder, 0, 100, 1);
    hp.audio.endStream();
    pump();
    EXPECT_EQ(hp.audio.streamName(), "00000002.MP3");

    // Focus away and back: silence meanwhile, the settings untouched.
    send(platform::Message(platform::kWmActivateApp, 0));
    EXPECT_FALSE(sound->SoundOn());
    EXPECT_EQ(hp.audio.streamVolume(), 0);
    send(platform::Message(platform::kWmActivateApp, 1));
    EXPECT_TRUE(sound->SoundOn());
    EXPECT_EQ(hp.audio.streamVolume(), 127);
    EXPECT_TRUE(app::Settings::instance()->soundOn());
    EXPECT_TRUE(app::Settings::instance()->musicOn());
    shutDown();
    EXPECT_EQ(hp.audio.calls().back().op, Op::Close);
}

TEST_F(SoundStartupTest, OnTheRealBackendTheTitleMusicAndTheEnteringSoundAreHeard) {
    const vs::test::DiskAudioOutput output(dataDir().parent_path() / "out.raw");
    platform::SdlAudioDevice device;  // in place of the recording one
    struct Run {
        const char* what;
        std::function<void(audio::SoundMan&)> play;
    };
    const Run runs[] = {
        {"title music",
         [](audio::SoundMan& s) { s.PlayMusic(audio::SoundMan::kTitleTrack, 100, 1); }},
        {"entering the game",
         [](audio::SoundMan& s) { s.PlaySound(mkdata::kSoundEnterGame, 100); }},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(run.what);
        startUp();
        ASSERT_TRUE(sound->HasDriver());
        run.play(*sound);
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        shutDown();
        EXPECT_GT(output.peak(), 4000);
    }
}

}  // namespace
}  // namespace vs::client
