#include "render/FrameSize.h"

bool isOfferedFrameSize(int size) {
    for (const int offered : kFrameSizes)
        if (size == offered) return true;
    return false;
}

int defaultFrameFor(int outputWidth, int outputHeight) {
    const PictureArea picture = pictureAreaIn(outputWidth, outputHeight);
    if (picture.height <= 768) return 512;
    return picture.height <= 1536 ? 1024 : 2048;
}

PictureArea pictureAreaIn(int outputWidth, int outputHeight) {
    PictureArea a;
    if (static_cast<long long>(outputWidth) * 3 > static_cast<long long>(outputHeight) * 4) {
        a.height = outputHeight; // wider than 4:3: bars left and right
        a.width = outputHeight * 4 / 3;
    } else {
        a.width = outputWidth; // taller: bars above and below
        a.height = outputWidth * 3 / 4;
    }
    a.x = (outputWidth - a.width) / 2;
    a.y = (outputHeight - a.height) / 2;
    return a;
}
