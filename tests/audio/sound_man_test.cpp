// The sound manager through the recording sound device, the fake clock and the scripted random
// source: sample slots, volumes, fades, playlists, the player's files, the CD, and focus.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/frame_clock.h"
#include "app/input_event.h"
#include "app/settings.h"
#include "audio/midi_player.h"
#include "audio/playlist.h"
#include "audio/sound_man.h"
#include "audio/sound_status.h"
#include "base/log.h"
#include "base/text.h"
#include "mkdata/archive_writer.h"
#include "mkdata/wav_writer.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/memory_file_mapper.h"
#include "resources/archive_manager.h"
#include "support/temp_dir.h"

namespace vs::audio {
namespace {

using Op = platform::RecordingAudioDevice::Op;
namespace fs = std::filesystem;

std::vector<uint8_t> tone() {
    const std::vector<int16_t> samples(220, 1000);
    return mkdata::wavFile(samples, 22050);
}

class SoundManTest : public testing::Test {
  protected:
    SoundManTest() {
        for (int n = 0; n < 10; ++n) snd.add(base::strprintf("%03d.wav", n), tone());
        snd.add("010.wav", "not a wave file");
        for (int n : {1, 2, 3, 4, 5, 999}) music.add(trackFileName(n), "mp3 " + std::to_string(n));
        music.add(playlistFileName(10), "3\r\n1\r\n2\r\n3\r\n");
        music.add(randomPlaylistFileName(11), "3\r\n1\r\n2\r\n3\r\n");
        music.add(randomPlaylistFileName(12), "0\r\n");
        music.add(playlistFileName(13), "abc\r\n1\r\n");
        music.add(randomPlaylistFileName(14), "4\r\n5\r\n");
    }

    SoundMan& start() {
        sound.reset();
        files.add("SND.DAT", snd.build());
        files.add("MUS000.DAT", music.build());
        archives = std::make_unique<resources::ArchiveManager>(files);
        archives->Mount("SND.DAT");
        archives->Mount("MUS000.DAT");
        sound = std::make_unique<SoundMan>();
        return *sound;
    }

    // Milliseconds since the test began; the timers fire on the way, at least every 10 ms, as
    // the main loop's frames would fire them.
    void advanceTo(uint32_t ms) {
        while (hp.clock.nowMs() - t0_ < ms) {
            hp.clock.set(std::min(hp.clock.nowMs() + 10, t0_ + ms));
            frames.update();
        }
    }
    uint32_t elapsed() const { return frames.now() - t0_; }

    // The window procedure's part: end-of-stream messages go back to the manager.
    int deliver() {
        int n = 0;
        platform::Message m;
        while (hp.window.peek(m)) {
            if (m.id == platform::kMsgNextTrack) sound->NextUserTrack(m.wParam);
            if (m.id == platform::kMsgRandomTrack) sound->NextPlaylistTrack(m.wParam);
            ++n;
        }
        return n;
    }
    // The stream plays to its end and the message it posts is handled.
    void endStream() {
        hp.audio.endStream();
        deliver();
    }
    std::vector<std::string> opened() const {
        std::vector<std::string> names;
        for (const auto& c : hp.audio.calls(Op::StreamOpen)) names.push_back(c.name);
        return names;
    }
    std::vector<int> startedVoices() const {
        std::vector<int> voices;
        for (const auto& c : hp.audio.calls(Op::VoiceStart)) voices.push_back(c.voice);
        return voices;
    }

    platform::HeadlessPlatform hp;
    app::FrameClock frames{hp.clock};
    app::Settings settings;
    MidiPlayer midi;
    mkdata::ArchiveWriter snd, music;
    platform::MemoryFileMapper files;
    std::unique_ptr<resources::ArchiveManager> archives;
    std::unique_ptr<SoundMan> sound;

  private:
    uint32_t t0_ = hp.clock.nowMs();
};

// ---- start and samples

TEST_F(SoundManTest, StartOpensTheOutputFromTheSettingsAndFindsTheSamplesInPlace) {
    for (const auto& [frequency, rate] :
         {std::pair{1, 22050}, std::pair{0, 44100}, std::pair{2, 44100}}) {
        settings.setSoundFrequency(uint8_t(frequency));
        start();
        EXPECT_EQ(hp.audio.outputRate(), rate) << frequency;
    }
    for (int n = 0; n < 10; ++n) EXPECT_FALSE(sound->Sample(n).empty()) << n;
    EXPECT_TRUE(sound->Sample(10).empty()) << "a malformed sample is left out";
    EXPECT_TRUE(sound->Sample(11).empty());
    // The sample is the archive's own bytes.
    const auto& arc = *archives->archives().front();
    const uint8_t* p = sound->Sample(3).data();
    EXPECT_GE(p, arc.base());
    EXPECT_LT(p, arc.base() + arc.fileSize());
}

TEST_F(SoundManTest, NineQuickSoundsTakeTheLeastRecentlyUsedVoice) {
    start();
    for (int i = 0; i < 9; ++i) sound->PlaySound(i, 100);
    EXPECT_EQ(startedVoices(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 0}));
    // The ninth cut the first off: its voice now holds sound 8.
    EXPECT_EQ(hp.audio.voiceData(0), sound->Sample(8).data());
}

TEST_F(SoundManTest, AFinishedVoiceIsReusedFirst) {
    start();
    for (int i = 0; i < 4; ++i)
        sound->PlaySound(i, 100);  // voices 0..3, most recent first: 3 2 1 0
    hp.audio.finishVoice(1);
    hp.audio.finishVoice(0);
    sound->PlaySound(5, 100);
    EXPECT_EQ(startedVoices().back(), 1) << "the finished voice that was used last";
    EXPECT_EQ(sound->Slots().front().voice, 1);
}

TEST_F(SoundManTest, SampleVolumesFollowTheRule) {
    start();
    struct Case {
        int volume, soundVolume, expected;
    };
    const Case cases[] = {
        {100, 100, 127}, {50, 100, 63},   {100, 60, 76},
        {30, 50, 19},    {255, 100, 127},  // an emitter's 0..255 is cut to 100
        {-5, 100, 0},
    };
    for (const Case& c : cases) {
        sound->SetSoundVolume(c.soundVolume);
        sound->PlaySound(0, c.volume);
        EXPECT_EQ(hp.audio.voiceVolume(sound->Slots().front().voice), c.expected)
            << c.volume << " at " << c.soundVolume;
    }
    // A new sound volume reaches every voice, and is kept in the settings.
    sound->SetSoundVolume(100);
    sound->PlaySound(1, 50);
    sound->SetSoundVolume(40);
    EXPECT_EQ(hp.audio.voiceVolume(sound->Slots().front().voice), 50 * 40 * 127 / 10000);
    EXPECT_EQ(settings.soundVolume(), 40);
    sound->SetSoundVolume(250);
    EXPECT_EQ(sound->SoundVolume(), 100);
    sound->DisableSound();
    sound->SetSoundVolume(70);
    EXPECT_EQ(hp.audio.voiceVolume(sound->Slots().front().voice), 0);
}

TEST_F(SoundManTest, SoundsThatCannotPlayDoNothing) {
    start();
    for (int n : {-1, 1000, 10, 11, 500}) sound->PlaySound(n, 50);
    sound->DisableSound();
    EXPECT_FALSE(settings.soundOn());
    sound->PlaySound(0, 50);
    EXPECT_TRUE(hp.audio.calls(Op::VoiceStart).empty());
    EXPECT_FALSE(sound->EnableSound());
    EXPECT_TRUE(settings.soundOn());
    sound->PlaySound(0, 50);
    EXPECT_EQ(hp.audio.calls(Op::VoiceStart).size(), 1u);
}

TEST_F(SoundManTest, WithoutAnOutputNothingHappens) {
    hp.audio.failOpen(true);
    start();
    EXPECT_FALSE(sound->HasDriver());
    sound->PlaySound(0, 100);
    sound->PlayMusic(1, 100, 1);
    sound->PlayMusicNumber(10, 0, 100, 1);
    sound->StopMusic(3000);
    sound->SetSoundVolume(20);
    EXPECT_TRUE(hp.audio.calls().empty());
    EXPECT_EQ(sound->CurrentTrack(), 0);
    EXPECT_EQ(frames.pending(), 0u);
    EXPECT_EQ(settings.soundVolume(), 100);
}

// ---- music

TEST_F(SoundManTest, MusicVolumesFollowTheRule) {
    start();
    sound->OpenCd(0);  // no disc: no CD volume
    hp.audio.insertCd(0, {60000});
    ASSERT_TRUE(sound->OpenCd(0));
    sound->PlayMusic(1, 100, 1);
    struct Case {
        int volume, scale;
        bool on;
        int stream, cd;
    };
    const Case cases[] = {
        {60, 100, true, 76, 76}, {100, 100, true, 127, 127}, {100, 50, true, 63, 127},
        {60, 100, false, 0, 0},  {0, 100, true, 0, 0},       {150, 100, true, 127, 127},
    };
    for (const Case& c : cases) {
        c.on ? sound->EnableMusic() : sound->DisableMusic();
        sound->SetMusicVolume(c.volume);
        sound->PlayMusic(1, c.scale, 1);
        EXPECT_EQ(hp.audio.streamVolume(), c.stream) << c.volume << " " << c.scale << " " << c.on;
        EXPECT_EQ(hp.audio.cdVolume(), c.cd) << c.volume << " " << c.on;
        EXPECT_EQ(settings.musicOn(), c.on);
    }
    EXPECT_EQ(settings.musicVolume(), 100);
    EXPECT_EQ(opened(), std::vector<std::string>{"00000001.MP3"})
        << "the same track only changed volume";
}

TEST_F(SoundManTest, TheTitleMusicIsTrack999) {
    start();
    sound->PlayMusic(SoundMan::kTitleTrack, 100, 1);
    EXPECT_EQ(hp.audio.streamName(), "00000999.MP3");
    EXPECT_EQ(hp.audio.streamLoops(), 1);
    EXPECT_EQ(sound->CurrentTrack(), 999);
    // With music off nothing starts, and the track 0 stops what plays.
    sound->DisableMusic();
    sound->PlayMusic(2, 100, 1);
    EXPECT_EQ(hp.audio.streamStatus(), platform::AudioDevice::StreamStatus::None);
    sound->EnableMusic();
    sound->PlayMusic(2, 100, 0);
    EXPECT_EQ(hp.audio.streamLoops(), 0);
    sound->PlayMusic(0, 100, 1);
    EXPECT_EQ(sound->CurrentTrack(), 0);
    EXPECT_EQ(hp.audio.streamStatus(), platform::AudioDevice::StreamStatus::None);
}

TEST_F(SoundManTest, AFadeTakesAStepPerVolumePointAndClosesAfterward) {
    start();
    sound->PlayMusic(1, 100, 1);
    sound->StopMusic(3000);
    EXPECT_EQ(sound->CurrentTrack(), -1);
    EXPECT_EQ(frames.pending(), 101u) << "100 steps and the close";
    for (uint32_t i = 1; i <= 100; ++i) {
        advanceTo(i * 30 - 1);
        ASSERT_EQ(hp.audio.streamVolume(), (101 - int(i)) * 127 / 100) << "before step " << i;
        advanceTo(i * 30);
        ASSERT_EQ(hp.audio.streamVolume(), (100 - int(i)) * 127 / 100) << "step " << i;
    }
    advanceTo(3199);
    EXPECT_EQ(hp.audio.streamStatus(), platform::AudioDevice::StreamStatus::Playing);
    advanceTo(3200);
    EXPECT_EQ(hp.audio.streamStatus(), platform::AudioDevice::StreamStatus::None);
    EXPECT_EQ(sound->CurrentTrack(), 0);
    EXPECT_EQ(
        hp.audio.calls(Op::StreamClose).back().time - hp.audio.calls(Op::StreamPlay).back().time,
        3200u);
}

TEST_F(SoundManTest, TheFadingTrackAskedForAgainCarriesOn) {
    start();
    sound->PlayMusic(1, 100, 1);
    sound->StopMusic(3000);
    advanceTo(1500);
    sound->PlayMusic(2, 100, 1);  // pending ...
    sound->PlayMusic(1, 100, 0);  // ... until the fading track itself is wanted again
    EXPECT_EQ(sound->CurrentTrack(), 1);
    EXPECT_FALSE(sound->Pending());
    EXPECT_EQ(hp.audio.streamVolume(), 127);
    EXPECT_EQ(hp.audio.streamLoops(), 0) << "the new loop count";
    advanceTo(5000);
    EXPECT_EQ(hp.audio.streamVolume(), 127);
    EXPECT_EQ(hp.audio.streamStatus(), platform::AudioDevice::StreamStatus::Playing);
    EXPECT_EQ(opened(), std::vector<std::string>{"00000001.MP3"});
}

TEST_F(SoundManTest, AnotherTrackDuringTheFadeStartsWhenItEnds) {
    start();
    sound->PlayMusic(1, 100, 1);
    sound->StopMusic(3000);
    advanceTo(1000);
    sound->PlayMusic(3, 80, 2);
    EXPECT_EQ(sound->CurrentTrack(), -1);
    advanceTo(3199);
    EXPECT_EQ(opened().size(), 1u);
    advanceTo(3200);
    EXPECT_EQ(opened().back(), "00000003.MP3");
    EXPECT_EQ(
        hp.audio.calls(Op::StreamPlay).back().time - hp.audio.calls(Op::StreamPlay).front().time,
        3200u);
    EXPECT_EQ(hp.audio.streamLoops(), 2);
    EXPECT_EQ(hp.audio.streamVolume(), 80 * 127 / 100);
    EXPECT_EQ(sound->CurrentTrack(), 3);
}

TEST_F(SoundManTest, ASecondStopDuringAFadeGoesOnFromItsLevelAndReplacesItsTimers) {
    start();
    sound->PlayMusic(1, 100, 1);
    sound->StopMusic(3000);
    advanceTo(900);  // 30 steps down: level 70
    sound->StopMusic(700);
    EXPECT_EQ(sound->CurrentTrack(), -1) << "still marked as fading, not turned back";
    EXPECT_EQ(frames.pending(), 71u) << "the first fade's timers are gone";
    advanceTo(910);
    EXPECT_EQ(hp.audio.streamVolume(), 69 * 127 / 100);
    advanceTo(1600);
    EXPECT_EQ(hp.audio.streamVolume(), 0);
    advanceTo(1800);
    EXPECT_EQ(hp.audio.streamStatus(), platform::AudioDevice::StreamStatus::None);
    advanceTo(3200);
    EXPECT_EQ(hp.audio.calls(Op::StreamClose).size(), 1u);
    // During a fade, the track is still recognised as the fading one.
    sound->PlayMusic(2, 100, 1);
    sound->StopMusic(1000);
    sound->StopMusic(1000);
    sound->PlayMusic(2, 100, 1);
    EXPECT_EQ(sound->CurrentTrack(), 2);
    EXPECT_EQ(frames.pending(), 0u);
}

TEST_F(SoundManTest, FadeStepsStaySilentWithMusicOff) {
    start();
    sound->PlayMusic(1, 100, 1);
    sound->DisableMusic();
    hp.audio.clearCalls();
    sound->StopMusic(1000);
    advanceTo(1000);
    for (const auto& c : hp.audio.calls(Op::StreamVolume)) EXPECT_EQ(c.value, 0) << c.time;
    EXPECT_FALSE(hp.audio.calls(Op::StreamVolume).empty());
}

TEST_F(SoundManTest, StopMusicAtOnceDropsAPendingTrack) {
    start();
    sound->PlayMusic(1, 100, 1);
    sound->StopMusic(3000);
    sound->PlayMusic(2, 100, 1);
    sound->StopMusic(0);
    EXPECT_EQ(sound->CurrentTrack(), 0);
    advanceTo(5000);
    EXPECT_EQ(opened().size(), 1u);
    EXPECT_EQ(frames.pending(), 0u);
}

// ---- playlists

TEST_F(SoundManTest, AnInOrderPlaylistGoesRoundAndNumbersBeyondItArePlainTracks) {
    start();
    sound->PlayMusicNumber(10, 0, 100, 5);
    EXPECT_TRUE(sound->PlaylistActive());
    EXPECT_EQ(hp.audio.streamLoops(), 1);
    for (int i = 0; i < 4; ++i) endStream();
    EXPECT_EQ(opened(), (std::vector<std::string>{"00000001.MP3", "00000002.MP3", "00000003.MP3",
                                                  "00000001.MP3", "00000002.MP3"}));
    // Asked for again while it plays, the list carries on with the same track.
    sound->PlayMusicNumber(10, 0, 100, 1);
    EXPECT_EQ(opened().size(), 5u);
    // A number beyond the list is the track of that number, and ends the list.
    sound->PlayMusic(5, 100, 1);
    EXPECT_EQ(hp.audio.streamName(), "00000005.MP3");
    EXPECT_FALSE(sound->PlaylistActive());
    endStream();
    EXPECT_EQ(opened().size(), 6u) << "a plain track posts nothing at its end";
}

TEST_F(SoundManTest, ARandomPlaylistPicksEachEntryAtRandom) {
    start();
    hp.random.script({1, 0, 0, 2, 5});
    sound->PlayMusicNumber(11, 0, 100, 1);    // 1 % 3 + 1 = 2
    for (int i = 0; i < 4; ++i) endStream();  // 1, 1 (played again), 3, 3
    EXPECT_EQ(opened(), (std::vector<std::string>{"00000002.MP3", "00000001.MP3", "00000001.MP3",
                                                  "00000003.MP3", "00000003.MP3"}));
    EXPECT_TRUE(sound->PlaylistRandom());
}

TEST_F(SoundManTest, NumbersFallBackFromPlaylistToTrackToTheFallback) {
    start();
    struct Case {
        int number, fallback;
        const char* file;  // nullptr: nothing plays
        bool playlist;
    };
    const Case cases[] = {
        {10, 0, "00000001.MP3", true},  {4, 0, "00000004.MP3", false},
        {12, 5, "00000005.MP3", false},  // a list with a count of 0 is no list
        {13, 3, "00000003.MP3", false},  // nor one whose count is no number
        {14, 0, "00000005.MP3", true},   // one entry of the four it claims
        {77, 2, "00000002.MP3", false}, {78, 0, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        sound->PlayMusicNumber(c.number, c.fallback, 100, 1);
        if (c.file)
            EXPECT_EQ(hp.audio.streamName(), c.file);
        else
            EXPECT_EQ(hp.audio.streamStatus(), platform::AudioDevice::StreamStatus::None);
        EXPECT_EQ(sound->PlaylistActive(), c.playlist);
    }
}

// Map A plays playlist 10 at entry 1, fades out as the player leaves; map B asks for playlist 14
// whose entry 1 is another file: that is new music, not the fading one carrying on.
TEST_F(SoundManTest, EntryOneOfAnotherPlaylistDuringAFadeIsNewMusic) {
    start();
    sound->PlayMusicNumber(10, 0, 100, 1);
    sound->StopMusic(3000);
    sound->PlayMusicNumber(14, 0, 100, 1);
    EXPECT_EQ(sound->CurrentTrack(), -1);
    advanceTo(3200);
    EXPECT_EQ(opened(), (std::vector<std::string>{"00000001.MP3", "00000005.MP3"}));
}

TEST_F(SoundManTest, AnEndMessageOfAStreamThatIsGoneIsDropped) {
    start();
    sound->PlayMusicNumber(10, 0, 100, 1);
    hp.audio.endStream();                   // posts its message ...
    sound->PlayMusicNumber(4, 0, 100, 1);   // ... but other music starts first
    sound->PlayMusicNumber(10, 0, 100, 1);  // and the list again, at its first entry
    deliver();
    EXPECT_EQ(opened(), (std::vector<std::string>{"00000001.MP3", "00000004.MP3", "00000001.MP3"}));
    sound->NextPlaylistTrack();  // the sound dialog's button always works
    EXPECT_EQ(opened().back(), "00000002.MP3");
}

// ---- the player's own files

class UserFilesTest : public SoundManTest {
  protected:
    void make(const fs::path& relative) {
        const fs::path p = dir / relative;
        fs::create_directories(p.parent_path());
        std::ofstream(p) << "mp3";
    }
    std::u16string dirs(const std::string& list) { return base::utf8ToUtf16(list); }
    test::TempDir dir{"user_music"};
};

TEST_F(UserFilesTest, FoldersAreReadInNameOrderSkippingHiddenOnes) {
    for (const char* f : {"a/b.mp3", "a/A.MP3", "a/c.txt", "a/.hidden/x.mp3", "a/sub/z.mp3",
                          "a/sub/deeper/y.mp3", "a/zz.Mp3", "a/sub.mp3/inside.mp3", "b/q.mp3"})
        make(f);
    fs::create_directory_symlink(dir / "a", dir / "a/sub/loop");
    const std::string a = (dir / "a").string(), b = (dir / "b").string();
    start();
    sound->ScanUserFiles(dirs(a + ";" + b + ";;" + (dir / "missing").string()), false, true);
    EXPECT_EQ(sound->UserFiles(),
              (std::vector<std::string>{a + "/A.MP3", a + "/b.mp3", a + "/sub/deeper/y.mp3",
                                        a + "/sub/z.mp3", a + "/sub.mp3/inside.mp3", a + "/zz.Mp3",
                                        b + "/q.mp3"}));
    sound->ScanUserFiles(dirs(a), false, false);
    EXPECT_EQ(sound->UserFiles(),
              (std::vector<std::string>{a + "/A.MP3", a + "/b.mp3", a + "/zz.Mp3"}));
    hp.random.script({2, 0, 0});
    sound->ScanUserFiles(dirs(a), true, false);
    EXPECT_EQ(sound->UserFiles(),
              (std::vector<std::string>{a + "/zz.Mp3", a + "/A.MP3", a + "/b.mp3"}));
}

TEST_F(UserFilesTest, StartScansTheSettingsFolders) {
    make("m/one.mp3");
    settings.setMp3Dir(dirs((dir / "m").string()));
    start();
    EXPECT_EQ(sound->UserFiles(), std::vector<std::string>{(dir / "m/one.mp3").string()});
}

TEST_F(UserFilesTest, FilesPlayInTurnAndOneThatFailsIsPassedOver) {
    for (const char* f : {"1.mp3", "2.mp3", "3.mp3"}) make(f);
    settings.setMusicType(1);
    start();
    sound->ScanUserFiles(dirs(dir.path().string()), false, false);
    fs::remove(dir / "2.mp3");
    sound->PlayMusic(1, 100, 1);
    endStream();  // 2 fails, 3 is tried next
    const std::string d = dir.path().string();
    EXPECT_EQ(opened(), (std::vector<std::string>{d + "/1.mp3", d + "/3.mp3"}));
    EXPECT_EQ(hp.audio.calls(Op::StreamOpenFailed).size(), 1u);
    endStream();  // past the last without repeat: silence
    EXPECT_EQ(opened().size(), 2u);
    settings.setPlayRepeat(true);
    sound->NextUserTrack();
    EXPECT_EQ(opened().back(), d + "/1.mp3");
}

TEST_F(UserFilesTest, WhenEveryFileFailsTheTryingStops) {
    for (const char* f : {"1.mp3", "2.mp3", "3.mp3"}) make(f);
    settings.setMusicType(1);
    settings.setPlayRepeat(true);
    start();
    sound->ScanUserFiles(dirs(dir.path().string()), false, false);
    for (const char* f : {"1.mp3", "2.mp3", "3.mp3"}) fs::remove(dir / f);
    sound->PlayMusic(2, 100, 1);
    for (int i = 0; i < 10 && deliver() > 0; ++i) {
    }
    EXPECT_EQ(hp.audio.calls(Op::StreamOpenFailed).size(), 3u) << "each file once: 2, 3, 1";
    EXPECT_EQ(hp.audio.calls(Op::StreamOpenFailed).back().name, dir.path().string() + "/1.mp3");
    // A file that opens again starts the count afresh.
    make("3.mp3");
    sound->PlayMusic(3, 100, 1);
    EXPECT_EQ(sound->CurrentTrack(), 3);
    fs::remove(dir / "3.mp3");
    endStream();
    for (int i = 0; i < 10 && deliver() > 0; ++i) {
    }
    EXPECT_EQ(hp.audio.calls(Op::StreamOpenFailed).size(), 6u) << "1, 2 and 3 once more each";
}

// ---- audio CD

class CdTest : public SoundManTest {
  protected:
    CdTest() {
        settings.setMusicType(2);
        settings.setCdRomDrive(1);
        hp.audio.insertCd(1, {60000, 45000, 30000});
    }
    std::vector<int> playedStarts() const {
        std::vector<int> starts;
        for (const auto& c : hp.audio.calls(Op::CdPlay)) starts.push_back(c.value);
        return starts;
    }
    static constexpr int kT1 = 2000, kT2 = 62000, kT3 = 107000;  // track starts on the disc
};

TEST_F(CdTest, TracksPlayInOrderEachForItsLength) {
    start();
    sound->RestartForMusicType(0);
    EXPECT_EQ(sound->CdOrder(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(hp.audio.calls(Op::CdPlay).front().value2, 62000);
    advanceTo(59999);
    EXPECT_EQ(sound->CdTrack(), 1);
    advanceTo(60000);
    EXPECT_EQ(sound->CdTrack(), 2);
    advanceTo(60000 + 45000 + 30000);
    EXPECT_EQ(playedStarts(), (std::vector<int>{kT1, kT2, kT3}));
    EXPECT_FALSE(sound->CdPlaying()) << "past the last track without repeat";
    EXPECT_FALSE(hp.audio.cdPlaying());
}

TEST_F(CdTest, RepeatAndShuffleAndPrevious) {
    settings.setPlayRandom(true);
    settings.setPlayRepeat(true);
    hp.random.script({2, 0, 0});
    start();
    sound->RestartForMusicType(0);
    EXPECT_EQ(sound->CdOrder(), (std::vector<int>{3, 1, 2}));
    advanceTo(30000 + 60000 + 45000);
    EXPECT_EQ(sound->CdTrack(), 3) << "round again";
    sound->CdPrevious();
    EXPECT_EQ(sound->CdTrack(), 2) << "before the first comes the last";
    sound->CdNext();
    EXPECT_EQ(playedStarts(), (std::vector<int>{kT3, kT1, kT2, kT3, kT2, kT3}));
}

TEST_F(CdTest, PauseKeepsTheRestOfTheTrackForResume) {
    start();
    sound->RestartForMusicType(0);
    advanceTo(20000);
    sound->CdPause();
    EXPECT_TRUE(hp.audio.cdPaused());
    EXPECT_FALSE(sound->IsMusicPlaying());
    advanceTo(200000);
    EXPECT_EQ(sound->CdTrack(), 1);
    sound->CdResume();
    advanceTo(200000 + 39999);
    EXPECT_EQ(sound->CdTrack(), 1);
    advanceTo(200000 + 40000);
    EXPECT_EQ(sound->CdTrack(), 2);
}

TEST_F(CdTest, StoppingTheMusicStopsTheCd) {
    start();
    sound->RestartForMusicType(0);
    sound->StopMusic(3000);
    EXPECT_FALSE(hp.audio.cdPlaying());
    advanceTo(100000);
    EXPECT_EQ(hp.audio.calls(Op::CdPlay).size(), 1u) << "its track timer went too";
    EXPECT_FALSE(sound->OpenCd(2)) << "no disc in that drive";
}

// ---- focus

TEST_F(SoundManTest, FocusLossAndGainLeaveTheSettingsAlone) {
    start();
    sound->PlayMusicNumber(10, 0, 100, 1);
    sound->PlaySound(0, 100);
    sound->Deactivate(true);
    EXPECT_FALSE(sound->SoundOn());
    EXPECT_FALSE(sound->MusicOn());
    EXPECT_EQ(hp.audio.streamVolume(), 0);
    EXPECT_FALSE(hp.audio.voicePlaying(0)) << "the samples stop";
    EXPECT_TRUE(settings.soundOn());
    EXPECT_TRUE(settings.musicOn());
    sound->Deactivate(true);  // twice: music is still remembered as on
    sound->Activate(true);
    EXPECT_TRUE(sound->SoundOn());
    EXPECT_TRUE(sound->MusicOn());
    EXPECT_EQ(hp.audio.streamVolume(), 127);
    EXPECT_TRUE(settings.musicOn());

    // Sound that was switched off stays off after the focus comes back.
    sound->DisableSound();
    sound->Deactivate(true);
    sound->Activate(true);
    EXPECT_FALSE(sound->SoundOn());
    EXPECT_FALSE(settings.soundOn());

    // Without music (another music type), the stream is left as it is.
    sound->Deactivate(false);
    EXPECT_TRUE(sound->MusicOn());
    EXPECT_EQ(hp.audio.streamVolume(), 127);
    sound->Activate(false);
}

TEST_F(SoundManTest, MusicThatEndedWhileAwayStartsAgainWhenTheFocusReturns) {
    start();
    sound->PlayMusicNumber(10, 0, 100, 1);
    sound->Deactivate(true);
    endStream();  // entry 2 is asked for, but music is off meanwhile
    EXPECT_EQ(opened().size(), 1u);
    EXPECT_FALSE(sound->IsMusicPlaying());
    sound->Activate(true);
    EXPECT_EQ(opened(), (std::vector<std::string>{"00000001.MP3", "00000001.MP3"}));
    EXPECT_TRUE(sound->IsMusicPlaying());
}

// ---- the status line

TEST_F(SoundManTest, TheStatusLineShowsAndSwitchesSoundAndMusic) {
    start();
    EXPECT_EQ(SoundStatus::Text(*sound), u"Sound On/Music On");
    struct Case {
        uint8_t kind, key, modifiers;
        bool taken;
        const char16_t* text;
    };
    using E = app::InputEvent;
    const Case cases[] = {
        {E::kKeyDown, 'm', E::kCtrl, true, u"Sound Off/Music On"},
        {E::kKeyDown, 'm', E::kCtrl | E::kShift, false, u"Sound Off/Music On"},
        {E::kKeyDown, 'm', 0, false, u"Sound Off/Music On"},
        {E::kKeyDown, 'M', E::kCtrl | E::kShift, true, u"Sound Off/Music Off"},
        {E::kKeyDown, 'M', E::kShift, false, u"Sound Off/Music Off"},
        {E::kText, 'm', E::kCtrl, false, u"Sound Off/Music Off"},
        {E::kKeyDown, 'm', E::kCtrl, true, u"Sound On/Music Off"},
        {E::kKeyDown, 'M', E::kCtrl | E::kShift | E::kAlt, true, u"Sound On/Music On"},
    };
    for (const Case& c : cases) {
        E e;
        e.kind = c.kind;
        e.keyCode = c.key;
        e.modifiers = c.modifiers;
        EXPECT_EQ(SoundStatus::OnKey(e, *sound), c.taken) << c.key << int(c.modifiers);
        EXPECT_EQ(SoundStatus::Text(*sound), c.text);
        EXPECT_EQ(settings.soundOn(), sound->SoundOn());
        EXPECT_EQ(settings.musicOn(), sound->MusicOn());
        EXPECT_EQ(midi.IsMidiEnabled(), sound->MusicOn());
    }
}

TEST(SoundManDevice, TheMixHookReachesTheOutput) {
    platform::HeadlessPlatform hp;
    ASSERT_TRUE(hp.audio.open(22050, 16));
    hp.audio.setMixHook([](int16_t* samples, size_t frames) {
        for (size_t i = 0; i < frames * 2; ++i) samples[i] = int16_t(i);
    });
    EXPECT_EQ(hp.audio.mix(3), (std::vector<int16_t>{0, 1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace vs::audio
