#pragma once
// Text placement and the loading bar of the start-up. No glyphs are drawn: the clock and frame
// rate reach the user as the console status line only.

#include "render/RenderTypes.h"

// GL state used before text: depth test, texturing and lighting off; line smoothing on;
// blend (SRC_ALPHA, ONE_MINUS_SRC_ALPHA); line width 1.
void setTextState();

// Places text at (x, y) fractions of the window size from its centre and draws nothing;
// leaves the modelview matrix as it found it.
void printText(const ScreenSize& screen, float x, float y, float scale, float centring, const char* text);

// The text state, white, and the two status lines placed a unit in front of the viewer; the
// modelview is left as it was.
void placeStatusText(const ScreenSize& screen, const char* timeText, const char* fpsText);

struct LoadingBar {
    static constexpr float kFirstWidth = 10.0f;
    static constexpr float kStep = 16.0f;
    float progress = kFirstWidth; // width of the dark part the next step draws

    // Draws one state of the bar in the middle of a window of width x height, sized to its 4:3
    // picture, into the back buffer and advances it; the caller swaps buffers.
    void drawStep(int width, int height);
};
