#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/frame_clock.h"
#include "base/fourcc.h"
#include "base/lobject.h"

namespace vs::platform {
class AudioDevice;
}

namespace vs::audio {

// Sound effects by number and one music source at a time: MP3 tracks and playlists from the
// archives (music type 0), the player's own MP3 files (type 1) or an audio CD (type 2). Built
// during start-up after the archives and the settings; every call comes from the UI thread.
// Without a sound output every call that needs one does nothing.
//
// The sound and music switches and volumes are copies of the settings, written back whenever
// they change here. Streams that end are reported by the sound device's thread as window
// messages (kMsgNextTrack, kMsgRandomTrack) carrying the number of the stream they belong to.
class SoundMan final : public base::LObject, public app::TimerClient {
  public:
    static constexpr int kSlots = 8;
    static constexpr int kSounds = 1000;
    static constexpr int kTitleTrack = 999;
    static constexpr int kMaxCdTracks = 100;
    // FrameClock codes: a fade step, the end of a fade, the end of a CD track.
    static constexpr int32_t kTimerFadeStep = int32_t(base::fourcc("SMst"));
    static constexpr int32_t kTimerFadeEnd = int32_t(base::fourcc("SMsm"));
    static constexpr int32_t kTimerCdNext = int32_t(base::fourcc("PNCT"));
    // The final close of a fade comes this long after its last step.
    static constexpr uint32_t kFadeCloseDelayMs = 200;

    struct Slot {
        int voice = 0;
        int volume = 0;  // 0..100, as asked for
    };
    struct PendingTrack {
        int track = 0;
        int scale = 100;
        int loops = 1;
    };

    SoundMan();
    ~SoundMan() override;
    SoundMan(const SoundMan&) = delete;
    SoundMan& operator=(const SoundMan&) = delete;
    static SoundMan* instance() { return instance_; }

    // Opens the output, reads the settings, finds the sound effects and the player's MP3 files.
    // Run by the constructor; again starts afresh.
    void Start();

    // ---- sound effects
    // Sound n (0..999) at volume 0..100 (clamped: emitters send up to 255).
    void PlaySound(int n, int volume);
    void SetSoundVolume(int volume);
    int SoundVolume() const { return soundVolume_; }
    bool SoundOn() const { return soundOn_; }
    // Switches sound on; the previous state.
    bool EnableSound();
    void DisableSound();

    // ---- music
    // Track `track` of the current music type at scale 0..100, `loops` times (0 endless).
    void PlayMusic(int track, int scale, int loops);
    // The music of a number from the server or a screen: playlist "%08d.LST" (in order) or
    // "%08d.LSR" (random), else track "%08d.MP3", else the fallback track.
    void PlayMusicNumber(int n, int fallback, int scale, int loops);
    // Stops the music, fading it out over ms milliseconds when ms > 0. A playing CD stops.
    void StopMusic(int ms);
    void SetMusicVolume(int volume);
    int MusicVolume() const { return musicVolume_; }
    bool MusicOn() const { return musicOn_; }
    void EnableMusic();
    void DisableMusic();
    // The stream plays (a fading one too), or the CD plays.
    bool IsMusicPlaying() const;
    // Stops the music (fading over ms) and starts the first track of the current music type.
    void RestartForMusicType(int ms);

    // Focus loss and gain. Sound goes off and comes back as the "Sound" setting says; music
    // (when withMusic) goes off and comes back as it was. Neither touches a setting.
    void Deactivate(bool withMusic);
    void Activate(bool withMusic);

    // The end of a stream. `stream` is the number the message carried: the call is dropped when
    // another stream has been opened since; 0 always runs (a button of the sound dialog).
    void NextUserTrack(uint64_t stream = 0);
    void NextPlaylistTrack(uint64_t stream = 0);

    // The player's MP3 files from folders separated by ';', shuffled when random.
    void ScanUserFiles(std::u16string_view directories, bool random, bool recurse);

    // ---- audio CD
    // Opens the drive and makes the play order of its tracks (shuffled with "PlayRandom").
    bool OpenCd(int drive);
    void PlayCd();  // the first track of the order
    void CdNext();
    void CdPrevious();
    void CdPause();
    void CdResume();

    bool OnTimer(int32_t code, int32_t first, int32_t second) override;

    // ---- state (the sound dialog, the status line, tests)
    bool HasDriver() const { return driver_; }
    // Negative while fading out; 0 when nothing plays.
    int CurrentTrack() const { return currentTrack_; }
    const std::string& CurrentFile() const { return currentFile_; }
    int TrackScale() const { return trackScale_; }
    int LoopCount() const { return loopCount_; }
    const std::optional<PendingTrack>& Pending() const { return pending_; }
    const std::array<Slot, kSlots>& Slots() const { return slots_; }
    // The WAV bytes of sound n in the archive, empty when there is none (or it is malformed).
    std::span<const uint8_t> Sample(int n) const;
    const std::vector<std::string>& Playlist() const { return playlist_; }
    bool PlaylistActive() const { return playlistActive_; }
    bool PlaylistRandom() const { return playlistRandom_; }
    int PlaylistNumber() const { return playlistNumber_; }
    const std::vector<std::string>& UserFiles() const { return userFiles_; }
    uint32_t StreamNumber() const { return streamNumber_; }
    const std::vector<int>& CdOrder() const { return cdOrder_; }
    int CdTrack() const { return cdTrack_; }
    bool CdPlaying() const { return cdPlaying_; }
    bool CdPaused() const { return cdPaused_; }

  private:
    void shutDown();
    void loadSamples();
    // The file of track `track` of the current music type; empty when there is none.
    std::string fileFor(int track) const;
    // Opens and starts the file of track `track`; music is on and nothing plays.
    void startTrack(int track, const std::string& file, int loops);
    void setMusicOn(bool on, bool writeSetting);
    void applyMusicVolumes();
    int streamVolume(int level) const;
    void cancelFade();
    void finishFade();
    void dropPlaylist();
    bool stale(uint64_t stream) const;
    void playCdEntry(size_t index);
    void stopCd();
    void closeCd();

    static inline SoundMan* instance_ = nullptr;

    platform::AudioDevice* device_ = nullptr;
    bool driver_ = false;
    bool soundOn_ = true, musicOn_ = true;
    int soundVolume_ = 100, musicVolume_ = 100;
    bool deactivated_ = false, musicWasOn_ = false;
    int trackScale_ = 100;
    int currentTrack_ = 0;
    std::string currentFile_;  // the stream's file while a track is current
    int loopCount_ = 1;
    int fadeLevel_ = 0;  // the music volume the fade has reached
    std::optional<PendingTrack> pending_;
    uint32_t streamNumber_ = 0;  // counts the streams opened, so late end messages can be told
    std::array<Slot, kSlots> slots_{};
    std::array<std::span<const uint8_t>, kSounds> samples_{};

    std::vector<std::string> playlist_;
    bool playlistActive_ = false, playlistRandom_ = false;
    int playlistNumber_ = -1;

    std::vector<std::string> userFiles_;
    int lastUserTrack_ = 0;    // the user file tried last, played or not
    size_t userFailures_ = 0;  // user files in a row that did not open

    bool cdOpen_ = false, cdPlaying_ = false, cdPaused_ = false;
    std::vector<int> cdOrder_;
    size_t cdPosition_ = 0;
    int cdTrack_ = 0;
    uint32_t cdLength_ = 0, cdStartedAt_ = 0, cdRemaining_ = 0;
};

}  // namespace vs::audio
