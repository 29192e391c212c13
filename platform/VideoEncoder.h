#pragma once
// Encodes captured frames to H.264 through an ffmpeg child process. The soundtrack goes in as the
// samples the show's own decoder makes, so a video sounds as the player plays. ffmpeg dies with
// the program, and a signal never waits long on an ffmpeg that stopped working.

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

class MusicStream;

struct VideoDesc {
    std::string path; // the file ffmpeg writes, .mp4 or .mkv
    int width = 800;
    int height = 600;
    int fpsNum = 60; // frames per second as a fraction
    int fpsDen = 1;
    // The sound, read on from its decoder's position under the first frame; null for none.
    MusicStream* soundtrack = nullptr;
    int64_t soundSamples = 0; // how much of it there is at most (the show ends)
};

class VideoEncoder {
  public:
    VideoEncoder() = default;
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;
    ~VideoEncoder() { stop(); }

    // Starts ffmpeg. Returns false (with a message on standard error) when it cannot run.
    bool start(const VideoDesc& desc);
    // Sends one RGB frame, rows top to bottom, and meanwhile as much sound as ffmpeg takes.
    // Returns false when ffmpeg has gone away, or when a signal came and ffmpeg takes nothing more.
    bool write(const uint8_t* rgb);
    // Ends the streams and waits for ffmpeg to finish the file; after a signal, an ffmpeg that does
    // no work for a second is stopped. True when the file is whole; otherwise says why on standard
    // error.
    bool finish();

  private:
    bool pump(const uint8_t* frame, size_t size, bool toSoundsEnd);
    bool sendSound();
    void readLog();
    void closeStreams();
    void stop(); // ends ffmpeg at once

    int video_ = -1;
    int audio_ = -1;
    int log_ = -1; // ffmpeg's standard error
    pid_t pid_ = -1;
    size_t frameBytes_ = 0;
    int fpsNum_ = 60;
    int fpsDen_ = 1;
    int64_t frames_ = 0;  // sent whole
    std::string logTail_; // the end of what ffmpeg said

    MusicStream* soundtrack_ = nullptr;
    int64_t soundSamples_ = 0;
    int64_t soundLimit_ = 0;     // samples to send in all; grows with the frames until the end
    int64_t soundRead_ = 0;      // samples taken from the decoder
    std::vector<int16_t> sound_; // samples read and not yet sent
    size_t soundSent_ = 0;       // bytes of sound_ sent
    size_t soundBytes_ = 0;      // bytes in sound_
};
