#pragma once
// Where the show's soundtrack lives, relative to the data directory.

inline constexpr const char* kMusicFile = "Music/cq.mp3";
