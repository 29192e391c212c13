#pragma once
// What live play delivered, per section of the show: frames shown, the time they were on screen,
// how many stayed up past one and a half display frames, and the frame sizes they were drawn at.
// Printed at exit with --stats.

#include <array>
#include <cstdio>
#include <vector>

class PlayStats {
  public:
    // targetMs: the display's frame time, which lateness is judged against.
    explicit PlayStats(double targetMs);

    // A frame of demo time t, drawn at frameSize, on screen for shownMs.
    void add(int t, int frameSize, double shownMs);
    // The table; sizeChoice says how the sizes were chosen ("adaptive 256..512", "pinned").
    void print(std::FILE* out, const char* sizeChoice) const;

    struct Row {
        long long frames = 0;
        double seconds = 0.0;
        long long late = 0;
        std::array<long long, 7> sizes{}; // frames per offered size (kFrameSizes)

        double fps() const { return seconds > 0.0 ? static_cast<double>(frames) / seconds : 0.0; }
    };
    // One per section, in show order.
    const std::vector<Row>& rows() const { return rows_; }

  private:
    double targetMs_;
    std::vector<Row> rows_;
};
