#pragma once
// The internal frame the scenes render into: 512 x 512 as the show was made, or 1024 or 2048
// for sharper captures. Everything sized in pixels follows it (effect buffers, viewports, grabbed
// regions), so a larger frame is the same picture with more detail.

inline constexpr int kBaseFrame = 512;
inline constexpr int kFrameSizes[3] = {512, 1024, 2048};

bool isOfferedFrameSize(int size);

// The frame a capture of this output size gets when none is asked for: the show's own 512 up to
// a 1024 x 768 picture (what its blit was laid out for), then the next size that keeps it sharp.
int defaultFrameFor(int outputWidth, int outputHeight);

// The centred 4:3 picture inside an output of any shape: black bars fill the rest.
struct PictureArea {
    int x = 0, y = 0, width = 0, height = 0;
};
PictureArea pictureAreaIn(int outputWidth, int outputHeight);
