// MP3 encoding with LAME, with the LAME tag written over the file's first frame so that gapless
// decoders drop the encoder delay and padding: decoded sample 0 is sample 0 of the input.
#pragma once

#include "synth/StereoBuffer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace synth {

struct Mp3Settings {
    int bitrateKbps = 192;
    int quality = 2; // LAME's 0 (best, slowest) .. 9
};

// Encodes joint stereo at 44100 Hz. Returns an empty vector if LAME refuses the settings.
std::vector<uint8_t> encodeMp3(const StereoBuffer& buffer, const Mp3Settings& settings);
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace synth
