#include "audio/sound_man.h"

#include <algorithm>
#include <cstdlib>

#include "app/settings.h"
#include "audio/audio_files.h"
#include "audio/midi_player.h"
#include "audio/playlist.h"
#include "audio/shuffle.h"
#include "audio/user_music.h"
#include "audio/wav_file.h"
#include "base/log.h"
#include "platform/audio_device.h"
#include "platform/message.h"
#include "platform/random_source.h"
#include "platform/window.h"
#include "resources/archive_manager.h"
#include "resources/dat_file.h"

namespace vs::audio {

using platform::AudioDevice;

namespace {

app::Settings* settings() {
    return app::Settings::instance();
}
int musicType() {
    return settings() ? settings()->musicType() : 0;
}
bool playRandom() {
    return settings() && settings()->playRandom();
}
bool playRepeat() {
    return settings() && settings()->playRepeat();
}

// On the device's thread: the only thing done there is posting the message the stream was
// opened with (its id in the low half of the token, the stream's number in the high half).
void postStreamEnd(uint64_t token) {
    const auto id = uint32_t(token);
    if (id == 0) return;
    if (auto* window = platform::Window::instance())
        window->post(platform::Message(id, token >> 32));
}

uint32_t now() {
    auto* fc = app::FrameClock::instance();
    return fc ? fc->now() : 0;
}

}  // namespace

SoundMan::SoundMan() {
    instance_ = this;
    for (int i = 0; i < kSlots; ++i) slots_[size_t(i)].voice = i;
    Start();
}

SoundMan::~SoundMan() {
    shutDown();
    if (instance_ == this) instance_ = nullptr;
}

void SoundMan::shutDown() {
    if (auto* fc = app::FrameClock::instance()) fc->cancelAll(this);
    // The device may have gone first (a test's platform); then there is nothing left to close.
    if (device_ && device_ == AudioDevice::instance()) {
        closeCd();
        if (driver_) {
            device_->setStreamEndHandler({});
            device_->closeStream();
            device_->close();
        }
    }
    device_ = nullptr;
    driver_ = false;
    currentTrack_ = 0;
    currentFile_.clear();
    pending_.reset();
    samples_.fill({});
    playlist_.clear();
    playlistActive_ = false;
    userFiles_.clear();
    cdOpen_ = cdPlaying_ = cdPaused_ = false;
    cdOrder_.clear();
}

void SoundMan::Start() {
    shutDown();
    device_ = AudioDevice::instance();
    auto* s = settings();
    if (s) {
        soundOn_ = s->soundOn();
        soundVolume_ = s->soundVolume();
        musicOn_ = s->musicOn();
        musicVolume_ = s->musicVolume();
    }
    if (device_) {
        const int rate = !s || s->soundFrequency() == 1 ? 22050 : 44100;
        driver_ = device_->open(rate, s ? s->soundLatency() : 16);
    }
    if (driver_) {
        device_->setFileOpener(&openAudioFile);
        device_->setStreamEndHandler(&postStreamEnd);
        for (int i = 0; i < kSlots; ++i) slots_[size_t(i)] = Slot{i, 0};
        loadSamples();
    }
    ScanUserFiles(s ? std::u16string_view(s->mp3Dir()) : std::u16string_view(), playRandom(), true);
}

void SoundMan::loadSamples() {
    auto* archives = resources::ArchiveManager::instance();
    if (!archives) return;
    int found = 0;
    for (int n = 0; n < kSounds; ++n) {
        const std::string name = base::strprintf("%03d.wav", n);
        if (!archives->Exists(name)) continue;
        const resources::DATFile entry(name);
        if (const auto wav = parseWav(entry.View())) {
            samples_[size_t(n)] = wav->file;
            ++found;
        } else {
            VS_DEBUG("sound %s is not a playable sample; skipped", name.c_str());
        }
    }
    VS_INFO("sound: %d sound effects", found);
}

std::span<const uint8_t> SoundMan::Sample(int n) const {
    if (n < 0 || n >= kSounds) return {};
    return samples_[size_t(n)];
}

// ---- sound effects

void SoundMan::PlaySound(int n, int volume) {
    if (!soundOn_ || n < 0 || n >= kSounds || !driver_ || samples_[size_t(n)].empty()) return;
    volume = std::clamp(volume, 0, 100);
    // A finished voice first, in most-recently-used order; else the least recently used one.
    size_t chosen = kSlots - 1;
    for (size_t i = 0; i < kSlots; ++i) {
        if (device_->voiceDone(slots_[i].voice)) {
            chosen = i;
            break;
        }
    }
    std::rotate(slots_.begin(), slots_.begin() + long(chosen), slots_.begin() + long(chosen) + 1);
    Slot& slot = slots_.front();
    slot.volume = volume;
    device_->setVoiceData(slot.voice, samples_[size_t(n)]);
    device_->setVoiceVolume(slot.voice, volume * soundVolume_ * 127 / 10000);
    device_->startVoice(slot.voice);
}

void SoundMan::SetSoundVolume(int volume) {
    volume = std::clamp(volume, 0, 100);
    if (!driver_ || volume == soundVolume_) return;
    soundVolume_ = volume;
    if (auto* s = settings()) s->setSoundVolume(volume);
    for (const Slot& slot : slots_)
        device_->setVoiceVolume(slot.voice, soundOn_ ? slot.volume * volume * 127 / 10000 : 0);
}

bool SoundMan::EnableSound() {
    const bool was = soundOn_;
    soundOn_ = true;
    if (auto* s = settings()) s->setSoundOn(true);
    return was;
}

void SoundMan::DisableSound() {
    soundOn_ = false;
    if (auto* s = settings()) s->setSoundOn(false);
}

// ---- music

int SoundMan::streamVolume(int level) const {
    return musicOn_ ? level * trackScale_ * 127 / 10000 : 0;
}

void SoundMan::applyMusicVolumes() {
    if (driver_)
        device_->setStreamVolume(streamVolume(currentTrack_ < 0 ? fadeLevel_ : musicVolume_));
    if (cdOpen_) device_->cdSetVolume(musicOn_ ? musicVolume_ * 127 / 100 : 0);
}

void SoundMan::SetMusicVolume(int volume) {
    musicVolume_ = std::clamp(volume, 0, 100);
    if (auto* s = settings()) s->setMusicVolume(musicVolume_);
    applyMusicVolumes();
}

void SoundMan::setMusicOn(bool on, bool writeSetting) {
    auto* s = settings();
    const bool stored = s && s->musicOn();
    if (auto* midi = MidiPlayer::instance()) on ? midi->EnableMidi() : midi->DisableMidi();
    musicOn_ = on;
    // The MIDI player keeps the setting too: put it back when this change is not to be kept.
    if (s) s->setMusicOn(writeSetting ? on : stored);
}

void SoundMan::DisableMusic() {
    setMusicOn(false, true);
    applyMusicVolumes();
}

void SoundMan::EnableMusic() {
    setMusicOn(true, true);
    if (currentTrack_ > 0 && driver_ &&
        device_->streamStatus() != AudioDevice::StreamStatus::Stopped)
        PlayMusic(currentTrack_, trackScale_, loopCount_);
    applyMusicVolumes();
}

bool SoundMan::IsMusicPlaying() const {
    if (driver_ && device_->streamStatus() == AudioDevice::StreamStatus::Playing) return true;
    return cdPlaying_ && !cdPaused_;
}

std::string SoundMan::fileFor(int track) const {
    switch (musicType()) {
        case 0:
            if (playlistActive_ && track >= 1 && size_t(track) <= playlist_.size())
                return playlist_[size_t(track - 1)];
            return trackFileName(track);
        case 1:
            if (track >= 1 && size_t(track) <= userFiles_.size())
                return userFiles_[size_t(track - 1)];
            return {};
        default:
            return {};
    }
}

void SoundMan::PlayMusic(int track, int scale, int loops) {
    if (!driver_ || track < 0) return;
    scale = std::clamp(scale, 0, 100);
    // Tracks are told apart by their files: entry 1 of another playlist is other music.
    const std::string file = track == 0 ? std::string() : fileFor(track);
    if (currentTrack_ < 0) {
        if (track != 0 && file == currentFile_) {
            // The music being faded out is wanted again: it carries on at full volume.
            cancelFade();
            pending_.reset();
            currentTrack_ = track;
            trackScale_ = scale;
            loopCount_ = loops;
            device_->setStreamLoops(loops);
            applyMusicVolumes();
        } else {
            pending_ = PendingTrack{track, scale, loops};
        }
        return;
    }
    trackScale_ = scale;
    loopCount_ = loops;
    // The music playing now is only given its new volume; a stream that has ended starts again.
    const bool same = track == 0
                          ? currentTrack_ == 0
                          : currentTrack_ > 0 && file == currentFile_ &&
                                device_->streamStatus() == AudioDevice::StreamStatus::Playing;
    if (same) {
        currentTrack_ = track;
        if (track > 0 && musicType() == 0 && playlistActive_ && size_t(track) > playlist_.size())
            dropPlaylist();
    } else {
        StopMusic(0);
        if (track != 0 && musicOn_ && !file.empty()) startTrack(track, file, loops);
    }
    applyMusicVolumes();
}

void SoundMan::startTrack(int track, const std::string& file, int loops) {
    const int type = musicType();
    uint32_t endMessage = 0;
    if (type == 0) {
        // A number beyond the playlist is a track of its own, and the list ends there.
        if (playlistActive_ && size_t(track) > playlist_.size()) dropPlaylist();
        if (playlistActive_) endMessage = platform::kMsgRandomTrack;
    } else {
        endMessage = platform::kMsgNextTrack;
        lastUserTrack_ = track;
    }
    ++streamNumber_;
    const uint64_t token = (uint64_t(streamNumber_) << 32) | endMessage;
    if (!device_->openStream(file, token)) {
        VS_DEBUG("music: %s does not open", file.c_str());
        currentTrack_ = 0;
        currentFile_.clear();
        // The next user file is tried, until each of them has failed once in a row.
        if (type == 1 && ++userFailures_ < userFiles_.size()) {
            if (auto* window = platform::Window::instance())
                window->post(platform::Message(platform::kMsgNextTrack, streamNumber_));
        }
        return;
    }
    if (type == 1) userFailures_ = 0;
    device_->playStream(loops);
    currentTrack_ = track;
    currentFile_ = file;
}

void SoundMan::dropPlaylist() {
    playlist_.clear();
    playlistActive_ = false;
    playlistRandom_ = false;
    playlistNumber_ = -1;
}

void SoundMan::PlayMusicNumber(int n, int fallback, int scale, int loops) {
    if (!driver_) return;
    auto* archives = resources::ArchiveManager::instance();
    if (!archives) return;
    for (const bool random : {false, true}) {
        const std::string name = random ? randomPlaylistFileName(n) : playlistFileName(n);
        if (!archives->Exists(name)) continue;
        const bool active = playlistActive_ && playlistNumber_ == n && playlistRandom_ == random;
        if (active && currentTrack_ != 0) {
            PlayMusic(std::abs(currentTrack_), scale, 1);
            return;
        }
        if (!active) {
            resources::DATFile file(name);
            const std::vector<int> tracks = readPlaylist(file);
            // A list without a usable entry counts as no list.
            if (tracks.empty()) continue;
            playlist_.clear();
            for (int t : tracks) playlist_.push_back(trackFileName(t));
            playlistActive_ = true;
            playlistRandom_ = random;
            playlistNumber_ = n;
        }
        const int entry = random ? platform::randomNumber() % int(playlist_.size()) + 1 : 1;
        PlayMusic(entry, scale, 1);
        return;
    }
    if (archives->Exists(trackFileName(n))) {
        dropPlaylist();
        PlayMusic(n, scale, loops);
        return;
    }
    PlayMusic(fallback, scale, loops);
}

void SoundMan::cancelFade() {
    if (auto* fc = app::FrameClock::instance()) {
        fc->cancel(this, kTimerFadeStep);
        fc->cancel(this, kTimerFadeEnd);
    }
}

void SoundMan::StopMusic(int ms) {
    stopCd();
    if (!driver_ || device_->streamStatus() == AudioDevice::StreamStatus::None) return;
    auto* fc = app::FrameClock::instance();
    if (ms <= 0 || !fc) {
        cancelFade();
        pending_.reset();
        currentTrack_ = 0;
        currentFile_.clear();
        device_->closeStream();
        return;
    }
    // A second fade goes on from where the first one is.
    const int from = currentTrack_ < 0 ? fadeLevel_ : musicVolume_;
    cancelFade();
    if (currentTrack_ > 0) currentTrack_ = -currentTrack_;
    fadeLevel_ = from;
    for (int i = 1; i <= from; ++i)
        fc->schedule(this, kTimerFadeStep, uint32_t(int64_t(i) * ms / from),
                     from - from * i / from);
    fc->schedule(this, kTimerFadeEnd, uint32_t(ms) + kFadeCloseDelayMs);
}

void SoundMan::finishFade() {
    if (driver_) device_->closeStream();
    currentTrack_ = 0;
    currentFile_.clear();
    const std::optional<PendingTrack> next = pending_;
    pending_.reset();
    if (next) PlayMusic(next->track, next->scale, next->loops);
}

bool SoundMan::stale(uint64_t stream) const {
    return stream != 0 && stream != streamNumber_;
}

void SoundMan::NextUserTrack(uint64_t stream) {
    if (stale(stream) || musicType() != 1 || userFiles_.empty()) return;
    // From the file tried last: one that failed to open is passed over, not tried again.
    const int from = currentTrack_ != 0 ? std::abs(currentTrack_) : lastUserTrack_;
    int next = from + 1;
    if (size_t(next) > userFiles_.size()) {
        if (!playRepeat()) return;
        next = 1;
    }
    PlayMusic(next, trackScale_, 1);
}

void SoundMan::NextPlaylistTrack(uint64_t stream) {
    if (stale(stream) || !playlistActive_ || playlist_.empty()) return;
    const int count = int(playlist_.size());
    const int current = std::abs(currentTrack_);
    const int next = playlistRandom_ ? platform::randomNumber() % count + 1
                                     : (current >= count ? 1 : current + 1);
    PlayMusic(next, trackScale_, 1);
}

void SoundMan::RestartForMusicType(int ms) {
    StopMusic(ms);
    if (musicType() == 2) {
        if (OpenCd(settings() ? settings()->cdRomDrive() : 0)) PlayCd();
        return;
    }
    userFailures_ = 0;
    PlayMusic(1, 100, 1);
}

void SoundMan::ScanUserFiles(std::u16string_view directories, bool random, bool recurse) {
    std::vector<std::string> files = findMp3Files(directories, recurse);
    userFiles_ = random ? shuffled(std::move(files)) : std::move(files);
    lastUserTrack_ = 0;
    userFailures_ = 0;
    VS_INFO("sound: %zu music files of the player", userFiles_.size());
}

// ---- focus

void SoundMan::Deactivate(bool withMusic) {
    if (deactivated_) return;  // a second loss of focus must not forget how music was
    deactivated_ = true;
    if (driver_)
        for (const Slot& slot : slots_) device_->stopVoice(slot.voice);
    musicWasOn_ = withMusic && musicOn_;
    if (musicWasOn_) {
        setMusicOn(false, false);
        applyMusicVolumes();
    }
    soundOn_ = false;
}

void SoundMan::Activate(bool withMusic) {
    if (!deactivated_) return;
    deactivated_ = false;
    soundOn_ = settings() ? settings()->soundOn() != 0 : true;
    if (withMusic && musicWasOn_) {
        setMusicOn(true, false);
        applyMusicVolumes();
    }
    musicWasOn_ = false;
    if (withMusic && !IsMusicPlaying()) NextPlaylistTrack();
}

// ---- audio CD

bool SoundMan::OpenCd(int drive) {
    closeCd();
    if (!device_ || !device_->cdOpen(drive)) return false;
    cdOpen_ = true;
    applyMusicVolumes();
    const int count = std::clamp(device_->cdTrackCount(), 0, kMaxCdTracks);
    std::vector<int> order;
    for (int t = 1; t <= count; ++t) order.push_back(t);
    cdOrder_ = playRandom() ? shuffled(std::move(order)) : std::move(order);
    cdPosition_ = 0;
    return true;
}

void SoundMan::PlayCd() {
    if (cdOpen_ && !cdOrder_.empty()) playCdEntry(0);
}

void SoundMan::playCdEntry(size_t index) {
    stopCd();
    // A track without an audio range (a data track) is passed over.
    for (size_t tried = 0; tried < cdOrder_.size();
         ++tried, index = (index + 1) % cdOrder_.size()) {
        uint32_t start = 0, end = 0;
        const int track = cdOrder_[index];
        if (!device_->cdTrackRange(track, start, end) || end <= start) continue;
        device_->cdPlay(start, end);
        cdPosition_ = index;
        cdTrack_ = track;
        cdPlaying_ = true;
        cdPaused_ = false;
        cdLength_ = end - start;
        cdStartedAt_ = now();
        if (auto* fc = app::FrameClock::instance()) fc->schedule(this, kTimerCdNext, cdLength_);
        return;
    }
}

void SoundMan::CdNext() {
    if (!cdOpen_ || cdOrder_.empty()) return;
    size_t next = cdPosition_ + 1;
    if (next >= cdOrder_.size()) {
        if (!playRepeat()) {
            stopCd();
            return;
        }
        next = 0;
    }
    playCdEntry(next);
}

void SoundMan::CdPrevious() {
    if (!cdOpen_ || cdOrder_.empty()) return;
    size_t previous = cdPosition_;
    if (previous > 0)
        --previous;
    else if (playRepeat())
        previous = cdOrder_.size() - 1;
    playCdEntry(previous);
}

void SoundMan::CdPause() {
    if (!cdPlaying_ || cdPaused_) return;
    if (auto* fc = app::FrameClock::instance()) fc->cancel(this, kTimerCdNext);
    const uint32_t played = now() - cdStartedAt_;
    cdRemaining_ = played < cdLength_ ? cdLength_ - played : 0;
    device_->cdPause();
    cdPaused_ = true;
}

void SoundMan::CdResume() {
    if (!cdPlaying_ || !cdPaused_) return;
    device_->cdResume();
    cdPaused_ = false;
    cdStartedAt_ = now() - (cdLength_ - cdRemaining_);
    if (auto* fc = app::FrameClock::instance()) fc->schedule(this, kTimerCdNext, cdRemaining_);
}

void SoundMan::stopCd() {
    if (auto* fc = app::FrameClock::instance()) fc->cancel(this, kTimerCdNext);
    if (cdPlaying_ && device_) device_->cdStop();
    cdPlaying_ = cdPaused_ = false;
}

void SoundMan::closeCd() {
    stopCd();
    if (cdOpen_ && device_) device_->cdClose();
    cdOpen_ = false;
    cdOrder_.clear();
    cdTrack_ = 0;
}

bool SoundMan::OnTimer(int32_t code, int32_t first, int32_t) {
    switch (code) {
        case kTimerFadeStep:
            fadeLevel_ = first;
            if (driver_) device_->setStreamVolume(streamVolume(first));
            return true;
        case kTimerFadeEnd:
            finishFade();
            return true;
        case kTimerCdNext:
            CdNext();
            return true;
        default:
            return false;
    }
}

}  // namespace vs::audio
