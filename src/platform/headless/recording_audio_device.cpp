#include "platform/headless/recording_audio_device.h"

namespace vs::platform {

bool RecordingAudioDevice::open(int rate, int) {
    if (failOpen_) return false;
    open_ = true;
    rate_ = rate;
    record({.op = Op::Open, .value = rate});
    return true;
}

void RecordingAudioDevice::close() {
    if (!open_) return;
    closeStream();
    for (Voice& v : voices_) v = Voice{};
    open_ = false;
    record({.op = Op::Close});
}

bool RecordingAudioDevice::setVoiceData(int voice, std::span<const uint8_t> wav) {
    if (!validVoice(voice)) return false;
    Voice& v = voices_[size_t(voice)];
    v.playing = false;
    v.data = wav.data();
    v.size = wav.size();
    record({.op = Op::VoiceData, .voice = voice, .data = wav.data(), .size = wav.size()});
    return !wav.empty();
}

void RecordingAudioDevice::setVoiceVolume(int voice, int volume) {
    if (!validVoice(voice)) return;
    voices_[size_t(voice)].volume = volume;
    record({.op = Op::VoiceVolume, .voice = voice, .value = volume});
}

void RecordingAudioDevice::startVoice(int voice) {
    if (!validVoice(voice)) return;
    Voice& v = voices_[size_t(voice)];
    v.playing = v.data != nullptr;
    record({.op = Op::VoiceStart, .voice = voice, .value = v.volume});
}

void RecordingAudioDevice::stopVoice(int voice) {
    if (!validVoice(voice)) return;
    voices_[size_t(voice)].playing = false;
    record({.op = Op::VoiceStop, .voice = voice});
}

bool RecordingAudioDevice::voiceDone(int voice) {
    return !validVoice(voice) || !voices_[size_t(voice)].playing;
}

void RecordingAudioDevice::finishVoice(int voice) {
    voices_.at(size_t(voice)).playing = false;
}

bool RecordingAudioDevice::openStream(std::string_view name, uint64_t token) {
    if (!open_) return false;
    closeStream();
    std::unique_ptr<AudioFile> file = opener_ ? opener_(name) : nullptr;
    if (!file) {
        record({.op = Op::StreamOpenFailed, .name = std::string(name)});
        return false;
    }
    file_ = std::move(file);
    streamName_ = name;
    token_ = token;
    status_ = StreamStatus::Stopped;
    record({.op = Op::StreamOpen, .name = streamName_});
    return true;
}

void RecordingAudioDevice::playStream(int loops) {
    if (!file_) return;
    status_ = StreamStatus::Playing;
    streamLoops_ = loops;
    record({.op = Op::StreamPlay, .value = loops, .name = streamName_});
}

void RecordingAudioDevice::setStreamLoops(int loops) {
    if (!file_) return;
    streamLoops_ = loops;
    record({.op = Op::StreamLoops, .value = loops, .name = streamName_});
}

void RecordingAudioDevice::setStreamVolume(int volume) {
    if (!open_) return;
    streamVolume_ = volume;
    record({.op = Op::StreamVolume, .value = volume, .name = streamName_});
}

void RecordingAudioDevice::closeStream() {
    if (!file_) return;
    record({.op = Op::StreamClose, .name = streamName_});
    file_.reset();
    streamName_.clear();
    status_ = StreamStatus::None;
}

void RecordingAudioDevice::endStream() {
    if (status_ != StreamStatus::Playing) return;
    status_ = StreamStatus::Stopped;
    if (endHandler_) endHandler_(token_);
}

std::vector<int16_t> RecordingAudioDevice::mix(size_t frames) {
    std::vector<int16_t> out(frames * 2, 0);
    if (open_ && mixHook_) mixHook_(out.data(), frames);
    return out;
}

bool RecordingAudioDevice::cdOpen(int drive) {
    cdClose();
    if (drive != cdDrive_ || cdTracks_.empty()) return false;
    cdOpen_ = true;
    record({.op = Op::CdOpen, .value = drive});
    return true;
}

void RecordingAudioDevice::cdClose() {
    if (!cdOpen_) return;
    cdOpen_ = cdPlaying_ = cdPaused_ = false;
    record({.op = Op::CdClose});
}

bool RecordingAudioDevice::cdTrackRange(int track, uint32_t& startMs, uint32_t& endMs) {
    if (!cdOpen_ || track < 1 || track > int(cdTracks_.size())) return false;
    uint32_t at = 2000;  // the lead-in
    for (int t = 1; t < track; ++t) at += cdTracks_[size_t(t - 1)];
    startMs = at;
    endMs = at + cdTracks_[size_t(track - 1)];
    return true;
}

void RecordingAudioDevice::cdPlay(uint32_t startMs, uint32_t endMs) {
    if (!cdOpen_) return;
    cdPlaying_ = true;
    cdPaused_ = false;
    record({.op = Op::CdPlay, .value = int(startMs), .value2 = int(endMs)});
}

void RecordingAudioDevice::cdStop() {
    if (!cdOpen_) return;
    cdPlaying_ = cdPaused_ = false;
    record({.op = Op::CdStop});
}

void RecordingAudioDevice::cdPause() {
    if (!cdOpen_) return;
    cdPaused_ = true;
    record({.op = Op::CdPause});
}

void RecordingAudioDevice::cdResume() {
    if (!cdOpen_) return;
    cdPaused_ = false;
    record({.op = Op::CdResume});
}

void RecordingAudioDevice::cdSetVolume(int volume) {
    if (!cdOpen_) return;
    cdVolume_ = volume;
    record({.op = Op::CdVolume, .value = volume});
}

void RecordingAudioDevice::insertCd(int drive, std::vector<uint32_t> trackLengthsMs) {
    cdDrive_ = drive;
    cdTracks_ = std::move(trackLengthsMs);
}

std::vector<RecordingAudioDevice::Call> RecordingAudioDevice::calls(Op op) const {
    std::vector<Call> out;
    for (const Call& c : calls_)
        if (c.op == op) out.push_back(c);
    return out;
}

}  // namespace vs::platform
