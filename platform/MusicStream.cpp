#include "platform/MusicStream.h"

#include "platform/DataFile.h"
#include "platform/Ticks.h"

#include <SDL2/SDL.h>
#include <mpg123.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

constexpr double kSamplesPerMs = MusicStream::kSampleRate / 1000.0;
// Past this difference between the tick clock and the device the clock jumps to the device.
constexpr double kResyncSamples = 2048.0;
// Share of the remaining difference taken at each callback: follows the device without jitter.
constexpr double kSlewShare = 0.05;

bool gMpgReady = false;

} // namespace

bool MusicStream::open(const char* path, bool withAudio) {
    close();
    openError_.clear();
    if (!gMpgReady) {
        if (mpg123_init() != MPG123_OK) {
            openError_ = "the MP3 decoder cannot start";
            return false;
        }
        gMpgReady = true;
    }
    const int file = openDataFile(path);
    if (file < 0) {
        openError_ = dataFileError(errno);
        return false;
    }
    int err = MPG123_OK;
    mpg123_handle* h = mpg123_new(nullptr, &err);
    if (!h) {
        ::close(file);
        openError_ = "the MP3 decoder cannot start";
        return false;
    }
    mpg123_param(h, MPG123_FLAGS, MPG123_GAPLESS | MPG123_FORCE_SEEKABLE | MPG123_QUIET, 0.0);
    // Every MP3 rate is let through to be refused here with its own reason: a rate the decoder
    // is not allowed would make it print a complaint of its own.
    mpg123_format_none(h);
    for (const long r : {8000L, 11025L, 12000L, 16000L, 22050L, 24000L, 32000L, 44100L, 48000L})
        mpg123_format(h, r, MPG123_STEREO, MPG123_ENC_SIGNED_16);
    // The file must hold at least one decodable frame in the expected format.
    long rate = 0;
    int channels = 0, encoding = 0;
    unsigned char probe[4096];
    size_t got = 0;
    bool ok = mpg123_open_fd(h, file) == MPG123_OK &&
              mpg123_getformat(h, &rate, &channels, &encoding) == MPG123_OK && rate == kSampleRate;
    if (ok) {
        const int r = mpg123_read(h, probe, sizeof probe, &got);
        ok = (r == MPG123_OK || r == MPG123_DONE || r == MPG123_NEW_FORMAT) && got > 0;
    }
    if (ok) ok = mpg123_scan(h) == MPG123_OK;
    if (!ok) {
        openError_ =
            lseek(file, 0, SEEK_END) == 0 ? "the file is empty" : "no MP3 audio in it that plays at 44100 Hz";
        if (rate > 0 && rate != kSampleRate) openError_ += ": it plays at " + std::to_string(rate) + " Hz";
        mpg123_delete(h);
        ::close(file);
        return false;
    }
    file_ = file;
    decoder_ = h;
    lengthSamples_ = std::max<int64_t>(0, mpg123_length(h));
    seekDecoder(0);

    if (withAudio && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        std::fprintf(stderr, "castrelle: no sound (SDL audio: %s): the show plays silently\n",
                     SDL_GetError());
    else if (withAudio) {
        SDL_AudioSpec want = {};
        want.freq = kSampleRate;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = 1024;
        want.callback = &MusicStream::audioCallback;
        want.userdata = this;
        SDL_AudioSpec have = {};
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device_ == 0)
            std::fprintf(stderr, "castrelle: no sound (no audio device: %s): the show plays silently\n",
                         SDL_GetError());
    }
    return true;
}

void MusicStream::close() {
    if (device_) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    if (decoder_) {
        mpg123_close(decoder_);
        mpg123_delete(decoder_);
        decoder_ = nullptr;
    }
    if (file_ >= 0) {
        ::close(file_);
        file_ = -1;
    }
    playing_ = false;
}

bool MusicStream::isOpen() const { return decoder_ != nullptr; }

bool MusicStream::hasAudioDevice() const { return device_ != 0; }

int MusicStream::lengthMs() const { return static_cast<int>(lengthSamples_ / kSamplesPerMs); }

bool MusicStream::play() {
    if (!decoder_) return false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        playing_ = true;
        anchorSample_ = 0.0;
        anchorTick_ = tickCount();
        seekDecoder(0);
    }
    if (device_) SDL_PauseAudioDevice(device_, 0);
    return true;
}

int64_t MusicStream::clockSample(unsigned now) const {
    if (!playing_) return static_cast<int64_t>(anchorSample_);
    return static_cast<int64_t>(anchorSample_ + static_cast<double>(now - anchorTick_) * kSamplesPerMs);
}

int MusicStream::position() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(static_cast<double>(clockSample(tickCount())) / kSamplesPerMs);
}

void MusicStream::setPosition(int ms) {
    const int64_t sample = static_cast<int64_t>(std::llround(std::max(ms, 0) * kSamplesPerMs));
    std::lock_guard<std::mutex> lock(mutex_);
    anchorSample_ = static_cast<double>(sample);
    anchorTick_ = tickCount();
    seekDecoder(sample);
}

void MusicStream::setMuted(bool muted) {
    std::lock_guard<std::mutex> lock(mutex_);
    muted_ = muted;
}

void MusicStream::seekDecoder(int64_t sample) {
    decodeSample_ = sample;
    decoderAtEnd_ = sample >= lengthSamples_;
    if (!decoderAtEnd_ && mpg123_seek(decoder_, static_cast<off_t>(sample), SEEK_SET) < 0)
        decoderAtEnd_ = true;
}

void MusicStream::audioCallback(void* self, uint8_t* out, int bytes) {
    static_cast<MusicStream*>(self)->fill(reinterpret_cast<int16_t*>(out), bytes / 4);
}

void MusicStream::decodeFrom(int64_t sample) {
    std::lock_guard<std::mutex> lock(mutex_);
    seekDecoder(sample);
}

void MusicStream::readSamples(int16_t* out, int frames) {
    std::lock_guard<std::mutex> lock(mutex_);
    decode(out, frames);
}

void MusicStream::decode(int16_t* out, int frames) {
    size_t done = 0;
    const size_t want = static_cast<size_t>(frames) * 4;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(out);
    while (!decoderAtEnd_ && done < want) {
        size_t got = 0;
        const int r = mpg123_read(decoder_, bytes + done, want - done, &got);
        done += got;
        if (r == MPG123_DONE || (r != MPG123_OK && r != MPG123_NEW_FORMAT && got == 0)) decoderAtEnd_ = true;
    }
    std::memset(bytes + done, 0, want - done);
    decodeSample_ += frames;
}

// Runs on the audio thread.
void MusicStream::fill(int16_t* out, int frames) {
    std::lock_guard<std::mutex> lock(mutex_);
    // The chunk written now starts at decodeSample_.
    const double actual = static_cast<double>(decodeSample_);
    decode(out, frames);
    if (muted_) std::memset(out, 0, static_cast<size_t>(frames) * 4);

    // Pull the tick clock towards the device.
    const unsigned now = tickCount();
    const double predicted = static_cast<double>(clockSample(now));
    const double drift = actual - predicted;
    anchorTick_ = now;
    anchorSample_ = std::fabs(drift) > kResyncSamples ? actual : predicted + drift * kSlewShare;
}
