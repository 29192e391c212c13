#include "synth/Equalizer.h"

#include "synth/Dsp.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace synth {

Biquad designBand(const EqBand& band) {
    const double w0 = 2.0 * M_PI * std::clamp(static_cast<double>(band.hz), 5.0, 0.49 * sampleRate) /
                      static_cast<double>(sampleRate);
    const double cosW = std::cos(w0);
    const double sinW = std::sin(w0);
    const double q = std::max(0.1, static_cast<double>(band.q));
    const double alpha = sinW / (2.0 * q);
    const double a = std::pow(10.0, band.gainDb / 40.0);
    double b0 = 1.0, b1 = 0.0, b2 = 0.0, a0 = 1.0, a1 = 0.0, a2 = 0.0;
    switch (band.shape) {
    case EqShape::LowCut:
        b0 = (1.0 + cosW) / 2.0;
        b1 = -(1.0 + cosW);
        b2 = b0;
        a0 = 1.0 + alpha;
        a1 = -2.0 * cosW;
        a2 = 1.0 - alpha;
        break;
    case EqShape::HighCut:
        b0 = (1.0 - cosW) / 2.0;
        b1 = 1.0 - cosW;
        b2 = b0;
        a0 = 1.0 + alpha;
        a1 = -2.0 * cosW;
        a2 = 1.0 - alpha;
        break;
    case EqShape::LowShelf:
    case EqShape::HighShelf: {
        const double s = sinW / 2.0 * std::sqrt(2.0); // shelf slope 1
        const double root = 2.0 * std::sqrt(a) * s;
        const double sign = band.shape == EqShape::LowShelf ? 1.0 : -1.0;
        b0 = a * ((a + 1.0) - sign * (a - 1.0) * cosW + root);
        b1 = sign * 2.0 * a * ((a - 1.0) - sign * (a + 1.0) * cosW);
        b2 = a * ((a + 1.0) - sign * (a - 1.0) * cosW - root);
        a0 = (a + 1.0) + sign * (a - 1.0) * cosW + root;
        a1 = -sign * 2.0 * ((a - 1.0) + sign * (a + 1.0) * cosW);
        a2 = (a + 1.0) + sign * (a - 1.0) * cosW - root;
        break;
    }
    case EqShape::Bell:
        b0 = 1.0 + alpha * a;
        b1 = -2.0 * cosW;
        b2 = 1.0 - alpha * a;
        a0 = 1.0 + alpha / a;
        a1 = -2.0 * cosW;
        a2 = 1.0 - alpha / a;
        break;
    }
    Biquad f;
    f.b0 = b0 / a0;
    f.b1 = b1 / a0;
    f.b2 = b2 / a0;
    f.a1 = a1 / a0;
    f.a2 = a2 / a0;
    return f;
}

float eqResponseDb(const std::vector<EqBand>& bands, float hz) {
    const std::complex<double> z1 = std::polar(1.0, -2.0 * M_PI * hz / sampleRate); // z^-1
    double db = 0.0;
    for (const EqBand& band : bands) {
        const Biquad f = designBand(band);
        const std::complex<double> h =
            (f.b0 + f.b1 * z1 + f.b2 * z1 * z1) / (1.0 + f.a1 * z1 + f.a2 * z1 * z1);
        db += 20.0 * std::log10(std::max(std::abs(h), 1e-12));
    }
    return static_cast<float>(db);
}

void applyEq(StereoBuffer& buffer, const std::vector<EqBand>& bands, size_t begin, size_t end) {
    end = std::min(end, buffer.frames());
    for (const EqBand& band : bands) {
        Biquad left = designBand(band);
        Biquad right = left;
        for (size_t i = begin; i < end; ++i) {
            buffer.left[i] = static_cast<float>(left.process(buffer.left[i]));
            buffer.right[i] = static_cast<float>(right.process(buffer.right[i]));
        }
    }
}

} // namespace synth
