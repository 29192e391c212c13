#pragma once
// Text placement and the loading bar of the start-up. No glyphs are drawn: the clock and frame
// rate reach the user as the console status line only.

#include "render/FrameProjection.h"

// GL state used before text: depth test, texturing and lighting off; line smoothing on;
// blend (SRC_ALPHA, ONE_MINUS_SRC_ALPHA); line width 1.
void setTextState();

// Places text at (x, y) fractions of the window size from its centre and draws nothing;
// leaves the modelview matrix as it found it.
void printText(const ScreenSize& screen, float x, float y, float scale, float centring, const char* text);

// Where the status lines go: the clock and the frame rate in the top-left corner, the second a
// line below the first on a 768-pixel-high window.
inline constexpr float kStatusX = -0.49f;
inline constexpr float kStatusY = 0.46f;
inline constexpr float kStatusScale = 0.1f;
inline constexpr float kStatusLineStep = 0.02f;
inline constexpr float kStatusLineScale = 0.0013020834f; // 1/768 of the window height

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
