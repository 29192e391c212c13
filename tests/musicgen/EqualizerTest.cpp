#include "synth/Equalizer.h"
#include "synth/Dsp.h"

#include <gtest/gtest.h>

#include <cmath>

using synth::EqBand;
using synth::EqShape;
using synth::StereoBuffer;

namespace {
// Peak level in dB of a sine after the bands, measured once the filters have settled.
float measuredDb(const std::vector<EqBand>& bands, float hz) {
    StereoBuffer b(synth::sampleRate / 2);
    for (size_t i = 0; i < b.frames(); ++i)
        b.left[i] = b.right[i] = std::sin(synth::twoPi * hz * static_cast<float>(i) / synth::sampleRate);
    synth::applyEq(b, bands);
    float peak = 0.0f;
    for (size_t i = b.frames() / 2; i < b.frames(); ++i) peak = std::max(peak, std::fabs(b.left[i]));
    return synth::gainToDb(peak);
}
} // namespace

TEST(EqualizerResponse, EachShapeDoesWhatItsNameSays) {
    const EqBand bell{EqShape::Bell, 1000.0f, 6.0f, 1.0f};
    EXPECT_NEAR(synth::eqResponseDb({bell}, 1000.0f), 6.0f, 0.05f);
    EXPECT_NEAR(synth::eqResponseDb({bell}, 50.0f), 0.0f, 0.2f);
    EXPECT_NEAR(synth::eqResponseDb({bell}, 15000.0f), 0.0f, 0.3f);

    const EqBand lowShelf{EqShape::LowShelf, 200.0f, -6.0f};
    EXPECT_NEAR(synth::eqResponseDb({lowShelf}, 20.0f), -6.0f, 0.2f);
    EXPECT_NEAR(synth::eqResponseDb({lowShelf}, 200.0f), -3.0f, 0.2f); // half-way at the corner
    EXPECT_NEAR(synth::eqResponseDb({lowShelf}, 5000.0f), 0.0f, 0.1f);

    const EqBand highShelf{EqShape::HighShelf, 4000.0f, 4.0f};
    EXPECT_NEAR(synth::eqResponseDb({highShelf}, 18000.0f), 4.0f, 0.3f);
    EXPECT_NEAR(synth::eqResponseDb({highShelf}, 100.0f), 0.0f, 0.1f);

    // Butterworth cuts: 3 dB down at the corner, 12 dB per octave beyond it.
    const EqBand lowCut{EqShape::LowCut, 100.0f};
    EXPECT_NEAR(synth::eqResponseDb({lowCut}, 100.0f), -3.0f, 0.1f);
    EXPECT_NEAR(synth::eqResponseDb({lowCut}, 25.0f) - synth::eqResponseDb({lowCut}, 50.0f), -12.0f, 0.5f);
    const EqBand highCut{EqShape::HighCut, 2000.0f};
    EXPECT_NEAR(synth::eqResponseDb({highCut}, 2000.0f), -3.0f, 0.1f);
    EXPECT_NEAR(synth::eqResponseDb({highCut}, 200.0f), 0.0f, 0.05f);
}

TEST(EqualizerResponse, TheRunningFilterMatchesItsComputedResponse) {
    // Design and processing are separate code: a sign slip in either shows up here.
    const std::vector<EqBand> chain = {
        {EqShape::LowCut, 80.0f}, {EqShape::Bell, 700.0f, 4.0f, 0.9f}, {EqShape::HighShelf, 5000.0f, -5.0f}};
    for (float hz : {60.0f, 300.0f, 700.0f, 2500.0f, 9000.0f})
        EXPECT_NEAR(measuredDb(chain, hz), synth::eqResponseDb(chain, hz), 0.15f) << hz << " Hz";
}

TEST(EqualizerResponse, OnlyTheGivenFramesAreFiltered) {
    StereoBuffer b(2000);
    for (size_t i = 0; i < b.frames(); ++i) b.left[i] = b.right[i] = (i % 7 == 0) ? 1.0f : -0.2f;
    const StereoBuffer before = b;
    synth::applyEq(b, {{EqShape::LowCut, 500.0f}}, 500, 1500);
    for (size_t i : {0u, 499u, 1500u, 1999u}) EXPECT_EQ(b.left[i], before.left[i]) << i;
    EXPECT_NE(b.left[800], before.left[800]);
}
