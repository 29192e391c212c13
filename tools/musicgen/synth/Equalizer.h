// Second-order filter sections (the audio cookbook's biquads) and an equalizer built from them:
// cuts, shelves and bells described as data, run over a track or the whole mix.
#pragma once

#include "synth/StereoBuffer.h"

#include <vector>

namespace synth {

// Direct form II transposed, in double: low corners at 44.1 kHz put the poles so close to the
// unit circle that single precision colours the noise floor.
struct Biquad {
    double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;
    double z1 = 0.0, z2 = 0.0;
    double process(double x) {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

enum class EqShape { LowCut, HighCut, LowShelf, HighShelf, Bell };

struct EqBand {
    EqShape shape = EqShape::Bell;
    float hz = 1000.0f;
    float gainDb = 0.0f; // shelves and bells; cuts ignore it
    float q = 0.7071f;   // cuts and bells; shelves use the cookbook's slope of 1
};

Biquad designBand(const EqBand& band);
// Magnitude in dB of the bands in series at one frequency, for tests and for voicing by numbers.
float eqResponseDb(const std::vector<EqBand>& bands, float hz);
// Runs the bands in series over frames [begin, end) of both channels; the filters start at rest.
void applyEq(StereoBuffer& buffer, const std::vector<EqBand>& bands, size_t begin = 0,
             size_t end = static_cast<size_t>(-1));

} // namespace synth
