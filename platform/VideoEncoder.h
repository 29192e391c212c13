#pragma once
// Encodes captured frames to H.264 through an ffmpeg child process, with the soundtrack muxed in.

#include <cstdint>
#include <string>

struct VideoDesc {
    std::string path;      // .mp4 or .mkv
    int width = 800;
    int height = 600;
    int fpsNum = 60;       // frames per second as a fraction
    int fpsDen = 1;
    std::string audioPath; // soundtrack to mux, empty for none
    int audioStartMs = 0;  // demo time of the first frame
};

class VideoEncoder {
public:
    VideoEncoder() = default;
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;
    ~VideoEncoder() { finish(); }

    // Starts ffmpeg. Returns false (with a message on standard error) when it cannot run.
    bool start(const VideoDesc& desc);
    // Sends one RGB frame, rows top to bottom. Returns false when ffmpeg has gone away.
    bool write(const uint8_t* rgb);
    // Closes the stream and waits for ffmpeg to finish the file. Returns true on success.
    bool finish();

private:
    int pipe_ = -1;
    int pid_ = -1;
    size_t frameBytes_ = 0;
    std::string logPath_;
};
