#include "platform/sdl/sdl_audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cstdint>
#include <mutex>
#include <string>

#include "base/log.h"

namespace vs::platform {

namespace {

// The program's AudioFile behind an SDL_RWops; the RWops owns the file.
AudioFile* fileOf(SDL_RWops* rw) {
    return static_cast<AudioFile*>(rw->hidden.unknown.data1);
}

Sint64 SDLCALL rwSize(SDL_RWops* rw) {
    return fileOf(rw)->size();
}

Sint64 SDLCALL rwSeek(SDL_RWops* rw, Sint64 offset, int whence) {
    static_assert(RW_SEEK_SET == 0 && RW_SEEK_CUR == 1 && RW_SEEK_END == 2);
    const int64_t pos = fileOf(rw)->seek(offset, whence);
    if (pos < 0) SDL_SetError("seek outside the file");
    return pos;
}

size_t SDLCALL rwRead(SDL_RWops* rw, void* buffer, size_t size, size_t count) {
    if (size == 0 || count == 0 || count > SIZE_MAX / size) return 0;
    return fileOf(rw)->read(buffer, size * count) / size;
}

size_t SDLCALL rwWrite(SDL_RWops*, const void*, size_t, size_t) {
    SDL_SetError("read-only file");
    return 0;
}

int SDLCALL rwClose(SDL_RWops* rw) {
    delete fileOf(rw);
    SDL_FreeRW(rw);
    return 0;
}

SDL_RWops* wrap(std::unique_ptr<AudioFile> file) {
    SDL_RWops* rw = SDL_AllocRW();
    if (!rw) return nullptr;
    rw->type = SDL_RWOPS_UNKNOWN;
    rw->size = rwSize;
    rw->seek = rwSeek;
    rw->read = rwRead;
    rw->write = rwWrite;
    rw->close = rwClose;
    rw->hidden.unknown.data1 = file.release();
    return rw;
}

bool endsWithMp3(std::string_view name) {
    if (name.size() < 4) return false;
    std::string ext(name.substr(name.size() - 4));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ext == ".mp3";
}

// The smallest power of two of frames that holds the latency, within what mixers handle well.
int chunkFrames(int rate, int latencyMs) {
    const int want = std::max(1, rate / 1000 * std::max(latencyMs, 1));
    int frames = 512;
    while (frames < want && frames < 8192) frames *= 2;
    return frames;
}

}  // namespace

struct SdlAudioDevice::Impl {
    bool open = false;
    std::array<Mix_Chunk*, kVoices> chunks{};
    Mix_Music* music = nullptr;
    int loops = 0;
    AudioFileOpener opener;

    // Shared with the mixer's thread.
    std::atomic<bool> quiet{false};  // a stop of our own: not an end to report
    std::atomic<uint64_t> token{0};
    std::mutex handlerMutex;
    StreamEndHandler endHandler;
    std::mutex mixMutex;
    MixHook mixHook;

    // SDL_mixer's end-of-music hook takes no argument: the one open device.
    static inline std::atomic<Impl*> current{nullptr};

    static void SDLCALL musicFinished() {
        Impl* d = current.load();
        if (!d || d->quiet.load()) return;
        std::lock_guard lock(d->handlerMutex);
        if (d->endHandler) d->endHandler(d->token.load());
    }

    static void SDLCALL postMix(void* self, Uint8* stream, int len) {
        auto* d = static_cast<Impl*>(self);
        std::lock_guard lock(d->mixMutex);
        if (d->mixHook && len > 0)
            d->mixHook(reinterpret_cast<int16_t*>(stream), size_t(len) / (2 * sizeof(int16_t)));
    }

    // Runs one of our own stops or restarts without reporting it as the stream's end.
    template <class F>
    void quietly(F f) {
        quiet = true;
        f();
        quiet = false;
    }
};

SdlAudioDevice::SdlAudioDevice() : impl_(std::make_unique<Impl>()) {
    registerSelf(this);
}

SdlAudioDevice::~SdlAudioDevice() {
    close();
    unregisterSelf(this);
}

bool SdlAudioDevice::open(int rate, int latencyMs) {
    close();
    if (Impl::current.load()) {
        VS_WARN("audio: another device has the mixer");
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        VS_INFO("audio: no sound output (%s)", SDL_GetError());
        return false;
    }
    if ((Mix_Init(MIX_INIT_MP3) & MIX_INIT_MP3) == 0)
        VS_WARN("audio: no MP3 decoder (%s); music is silent", Mix_GetError());
    if (Mix_OpenAudioDevice(rate, AUDIO_S16SYS, 2, chunkFrames(rate, latencyMs), nullptr, 0) != 0) {
        VS_INFO("audio: no sound output (%s)", Mix_GetError());
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(kVoices);
    Impl::current = impl_.get();
    Mix_HookMusicFinished(&Impl::musicFinished);
    Mix_SetPostMix(&Impl::postMix, impl_.get());
    impl_->open = true;
    VS_INFO("audio: %d Hz through %s", outputRate(), SDL_GetCurrentAudioDriver());
    return true;
}

void SdlAudioDevice::close() {
    if (!impl_->open) return;
    closeStream();
    Mix_HaltChannel(-1);
    for (Mix_Chunk*& c : impl_->chunks) {
        if (c) Mix_FreeChunk(c);
        c = nullptr;
    }
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HookMusicFinished(nullptr);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    Impl::current = nullptr;
    impl_->open = false;
}

bool SdlAudioDevice::isOpen() const {
    return impl_->open;
}

int SdlAudioDevice::outputRate() const {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (!impl_->open || Mix_QuerySpec(&rate, &format, &channels) == 0) return 0;
    return rate;
}

bool SdlAudioDevice::setVoiceData(int voice, std::span<const uint8_t> wav) {
    if (!impl_->open || voice < 0 || voice >= kVoices) return false;
    Mix_HaltChannel(voice);
    Mix_Chunk*& chunk = impl_->chunks[size_t(voice)];
    if (chunk) Mix_FreeChunk(chunk);
    chunk = nullptr;
    if (wav.empty()) return false;
    // The mixer converts the sample into its own buffer; the archive bytes are only read.
    SDL_RWops* rw = SDL_RWFromConstMem(wav.data(), int(std::min<size_t>(wav.size(), INT32_MAX)));
    if (rw) chunk = Mix_LoadWAV_RW(rw, 1);
    if (!chunk) VS_DEBUG("audio: sample not loaded (%s)", Mix_GetError());
    return chunk != nullptr;
}

void SdlAudioDevice::setVoiceVolume(int voice, int volume) {
    if (!impl_->open || voice < 0 || voice >= kVoices) return;
    Mix_Volume(voice, std::clamp(volume, 0, kMaxVolume));
}

void SdlAudioDevice::startVoice(int voice) {
    if (!impl_->open || voice < 0 || voice >= kVoices || !impl_->chunks[size_t(voice)]) return;
    Mix_PlayChannel(voice, impl_->chunks[size_t(voice)], 0);
}

void SdlAudioDevice::stopVoice(int voice) {
    if (!impl_->open || voice < 0 || voice >= kVoices) return;
    Mix_HaltChannel(voice);
}

bool SdlAudioDevice::voiceDone(int voice) {
    if (!impl_->open || voice < 0 || voice >= kVoices) return true;
    return Mix_Playing(voice) == 0;
}

void SdlAudioDevice::setFileOpener(AudioFileOpener opener) {
    impl_->opener = std::move(opener);
}

void SdlAudioDevice::setStreamEndHandler(StreamEndHandler handler) {
    std::lock_guard lock(impl_->handlerMutex);
    impl_->endHandler = std::move(handler);
}

bool SdlAudioDevice::openStream(std::string_view name, uint64_t token) {
    if (!impl_->open) return false;
    closeStream();
    if (!impl_->opener) return false;
    std::unique_ptr<AudioFile> file = impl_->opener(name);
    if (!file) return false;
    SDL_RWops* rw = wrap(std::move(file));
    if (!rw) return false;
    // The music owns the RWops from here, even when loading fails.
    impl_->music = Mix_LoadMUSType_RW(rw, endsWithMp3(name) ? MUS_MP3 : MUS_NONE, 1);
    if (!impl_->music) {
        VS_WARN("audio: cannot play %.*s (%s)", int(name.size()), name.data(), Mix_GetError());
        return false;
    }
    impl_->token = token;
    return true;
}

void SdlAudioDevice::playStream(int loops) {
    if (!impl_->music) return;
    impl_->loops = loops;
    impl_->quietly([&] { Mix_PlayMusic(impl_->music, loops <= 0 ? -1 : loops); });
}

void SdlAudioDevice::setStreamLoops(int loops) {
    if (!impl_->music || loops == impl_->loops) return;
    impl_->loops = loops;
    if (!Mix_PlayingMusic()) return;
    // The mixer cannot change the count of a playing stream: start it again where it is.
    const double at = Mix_GetMusicPosition(impl_->music);
    impl_->quietly(
        [&] { Mix_FadeInMusicPos(impl_->music, loops <= 0 ? -1 : loops, 0, at > 0 ? at : 0.0); });
}

void SdlAudioDevice::setStreamVolume(int volume) {
    if (!impl_->open) return;
    Mix_VolumeMusic(std::clamp(volume, 0, kMaxVolume));
}

AudioDevice::StreamStatus SdlAudioDevice::streamStatus() {
    if (!impl_->music) return StreamStatus::None;
    return Mix_PlayingMusic() ? StreamStatus::Playing : StreamStatus::Stopped;
}

void SdlAudioDevice::closeStream() {
    if (!impl_->music) return;
    impl_->quietly([&] {
        Mix_HaltMusic();
        Mix_FreeMusic(impl_->music);
    });
    impl_->music = nullptr;
}

void SdlAudioDevice::setMixHook(MixHook hook) {
    std::lock_guard lock(impl_->mixMutex);
    impl_->mixHook = std::move(hook);
}

}  // namespace vs::platform
