#pragma once
// Encodes captured frames to H.264 through an ffmpeg child process. The soundtrack goes in as the
// samples the show's own decoder makes, beside the frames, so a video sounds as the player plays.
// ffmpeg dies with the program, and a signal never waits long on an ffmpeg that stopped working.

#include <cstdint>
#include <string>
#include <sys/types.h>

struct VideoDesc {
    std::string path; // the file ffmpeg writes, .mp4 or .mkv
    int width = 800;
    int height = 600;
    int fpsNum = 60; // frames per second as a fraction
    int fpsDen = 1;
    bool withAudio = false; // 44100 Hz stereo 16-bit samples come with every frame
};

class VideoEncoder {
  public:
    VideoEncoder() = default;
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;
    ~VideoEncoder() { stop(); }

    // Starts ffmpeg. Returns false (with a message on standard error) when it cannot run.
    bool start(const VideoDesc& desc);
    // Sends one RGB frame, rows top to bottom, and the samples that play during it. Returns false
    // when ffmpeg has gone away, or when a signal came and ffmpeg takes nothing more.
    bool write(const uint8_t* rgb, const int16_t* samples, int sampleFrames);
    // Ends the streams and waits for ffmpeg to finish the file; after a signal, an ffmpeg that does
    // no work for a second is stopped. True when the file is whole; otherwise says why on standard
    // error.
    bool finish();

  private:
    struct Part {
        int fd;
        const uint8_t* bytes;
        size_t size;
    };
    bool send(Part* parts, int count);
    void readLog();
    void closeStreams();
    void stop(); // ends ffmpeg at once

    int video_ = -1;
    int audio_ = -1;
    int log_ = -1; // ffmpeg's standard error
    pid_t pid_ = -1;
    size_t frameBytes_ = 0;
    std::string logTail_; // the end of what ffmpeg said
};
