#pragma once
// The soundtrack as a stream whose playback position is the show's clock.
//
// Decoding is done by libmpg123 in gapless mode at a fixed 44100 Hz stereo, so positions and
// seeks are sample-exact; sound goes out through SDL audio when a device can be opened, and
// otherwise the stream plays silently in real time so the clock still advances. The position
// runs on the tick counter between audio callbacks (no staircase), is pulled gently towards the
// samples the device has taken, and keeps advancing over silence past the end of the file.

#include <cstdint>
#include <mutex>
#include <string>

struct mpg123_handle_struct;

class MusicStream {
  public:
    static constexpr int kSampleRate = 44100;

    MusicStream() = default;
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;
    ~MusicStream() { close(); }

    // Opens and checks the file. withAudio false, or no audio device, gives a silent stream.
    // Returns false (and leaves the stream closed) when the file is missing, not a regular file
    // or undecodable; openError() then says why.
    bool open(const char* path, bool withAudio);
    const char* openError() const { return openError_.c_str(); }
    void close();
    bool isOpen() const;
    bool hasAudioDevice() const;
    int lengthMs() const;

    // Starts playback at position 0. Returns false if the stream cannot play.
    bool play();
    // Playback position in milliseconds.
    int position() const;
    // Moves playback to ms (negative values count as 0).
    void setPosition(int ms);
    // While muted the device plays silence; the position behaves as before.
    void setMuted(bool muted);

    // Decoding without a device, for captures: the samples from sample on, the ones played at
    // that position (44100 Hz stereo), silence past the end of the file.
    void decodeFrom(int64_t sample);
    void readSamples(int16_t* out, int frames);

  private:
    static void audioCallback(void* self, uint8_t* out, int bytes);
    void fill(int16_t* out, int frames);
    void decode(int16_t* out, int frames); // with mutex_ held
    void seekDecoder(int64_t sample);
    int64_t clockSample(unsigned now) const;

    mpg123_handle_struct* decoder_ = nullptr;
    int file_ = -1;
    std::string openError_;
    uint32_t device_ = 0;
    int64_t lengthSamples_ = 0;
    bool playing_ = false;
    bool muted_ = false;

    // The clock: the sample position at the tick anchorTick_; advances with the tick counter.
    mutable std::mutex mutex_;
    double anchorSample_ = 0.0;
    unsigned anchorTick_ = 0;
    int64_t decodeSample_ = 0; // next sample the device callback hands out
    bool decoderAtEnd_ = false;
};
