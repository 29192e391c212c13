#pragma once
// Small MP3 files made on the spot with LAME, for the music stream tests.

#include <string>

// Writes seconds of quiet tone at 44100 Hz stereo with a LAME tag (gapless information).
// Returns false when encoding fails.
bool writeTestMp3(const std::string& path, double seconds);
