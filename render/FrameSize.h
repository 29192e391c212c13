#pragma once
// The internal frame the scenes render into: 512 x 512 as the show was made, larger for sharper
// pictures, smaller where the machine cannot hold the frame rate. Everything sized in pixels
// follows it (effect buffers, viewports, grabbed regions, blur reach), so every size is the same
// picture with more or less detail.

inline constexpr int kBaseFrame = 512;
// The sizes on offer, smallest first: steps of a third or a half in pixel count, each a multiple
// of 128 so the effect buffers' quarter heights stay even.
inline constexpr int kFrameSizes[7] = {256, 384, 512, 768, 1024, 1536, 2048};

bool isOfferedFrameSize(int size);

// The frame a capture of this output size gets when none is asked for: the show's own 512 up to
// a 1024 x 768 picture (what its blit was laid out for), then the next size that keeps it sharp.
// Live play uses it as the ceiling of its adaptive size.
int defaultFrameFor(int outputWidth, int outputHeight);

// The centred 4:3 picture inside an output of any shape: black bars fill the rest.
struct PictureArea {
    int x = 0, y = 0, width = 0, height = 0;
};
PictureArea pictureAreaIn(int outputWidth, int outputHeight);
