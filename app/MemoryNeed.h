#pragma once
// Running out of memory at start-up or in a capture ends the program with a message naming what
// could not be had and status 1, instead of an abort: the run's entry catches std::bad_alloc (the
// stack unwinds, so a half-written file is removed and ffmpeg is stopped), and the steps that take
// memory say beforehand what they take it for.

// What the program is getting memory for now, printf-style, as the message will name it ("the
// textures and effect buffers of a 2048 x 2048 frame"). Takes no memory itself.
void needMemoryFor(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Says that the memory for the last need could not be had; returns the exit status, 1.
int reportOutOfMemory();
