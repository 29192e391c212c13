#pragma once
// Reads the finished window back for captures, into buffers reused from frame to frame.

#include <cstdint>
#include <vector>

struct FrameReader {
    // Reads the width x height window; returns RGB rows top to bottom, valid until the next read.
    const uint8_t* read(int width, int height);

private:
    std::vector<uint8_t> bottomUp_;
    std::vector<uint8_t> topDown_;
};
