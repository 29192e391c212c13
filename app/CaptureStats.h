#pragma once
// The timing report of a capture (--stats): per section of the show, the frames and what they
// cost (scene logic, GL, output), the triangles and draws sent and the post-stack work, then the
// whole run's rate and peak memory.

#include <cstdint>
#include <vector>

class CaptureStats {
  public:
    // Starts the counting of a frame's work (the renderers count as they draw).
    void startFrame();
    // The frame at demo time t took frameMs to draw and read back, and outputMs to write.
    void add(int t, double frameMs, double outputMs);
    // frames over seconds, showMs of show; path: what the run drew with ("fast", "reference",
    // "shader").
    void print(double seconds, int64_t frames, int showMs, const char* path) const;

  private:
    struct Section {
        const char* name = nullptr;
        int64_t frames = 0;
        double frameMs = 0.0;      // render and read-back
        double logicMs = 0.0;      // scene logic inside the render
        double outputMs = 0.0;     // encoding or writing
        int64_t triangles = 0;     // sent by the mesh renderer, every pass counted
        int64_t batches = 0;       // the mesh renderer's draw calls, one per pass
        double effectFrames = 0.0; // effect quads in full frames' worth of pixels
    };
    std::vector<Section> sections_;
};
