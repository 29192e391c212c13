#pragma once
// The page's canvas, which the show draws on.

inline constexpr const char* kCanvas = "#canvas";
// What goes fullscreen: the canvas with the page's messages over it.
inline constexpr const char* kStage = "#stage";

// Sizes the canvas's drawing buffer to its size on the page in device pixels (at least 1 x 1)
// and returns that size.
void fitCanvasToPage(int& width, int& height);

// Starts taking the page's key presses, resizes and fullscreen changes for pollWindowEvent, and
// has the F key and the page's fullscreen button show the stage (the canvas and its messages)
// fullscreen.
void listenToPage();
