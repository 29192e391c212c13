#include "synth/Adsr.h"
#include "synth/Dsp.h"

#include <gtest/gtest.h>

using synth::Adsr;
using synth::AdsrShape;
using synth::AdsrStage;

namespace {
int samples(float seconds) { return static_cast<int>(seconds * synth::sampleRate); }
} // namespace

TEST(AdsrStages, AttackRisesLinearlyToFullLevelInTheAttackTime) {
    Adsr env(AdsrShape{0.01f, 0.1f, 0.5f, 0.1f});
    env.gateOn();
    int calls = 0;
    float level = 0.0f;
    while (env.stage == AdsrStage::Attack && calls < 10000) {
        level = env.next();
        ++calls;
        if (calls == samples(0.005f)) {
            EXPECT_NEAR(level, 0.5f, 0.01f);
        }
    }
    EXPECT_FLOAT_EQ(level, 1.0f);
    EXPECT_NEAR(calls, samples(0.01f), 2);
    EXPECT_EQ(env.stage, AdsrStage::Decay);
    EXPECT_LT(env.next(), 1.0f);
}

TEST(AdsrStages, DecaySettlesOnTheSustainLevelAndHoldsIt) {
    Adsr env(AdsrShape{0.001f, 0.05f, 0.3f, 0.1f});
    env.gateOn();
    for (int i = 0; i < samples(0.2f); ++i) env.next();
    EXPECT_EQ(env.stage, AdsrStage::Sustain);
    for (int i = 0; i < samples(1.0f); ++i) EXPECT_FLOAT_EQ(env.next(), 0.3f);
}

TEST(AdsrStages, DecayFallsMostOfTheWayWithinTheDecayTime) {
    Adsr env(AdsrShape{0.0f, 0.1f, 0.0f, 0.1f});
    env.gateOn();
    env.next(); // a zero attack reaches full level on the first sample
    float level = 1.0f;
    for (int i = 0; i < samples(0.1f); ++i) level = env.next();
    EXPECT_LT(level, 0.03f); // four time constants: e^-4 = 0.018
    EXPECT_GT(level, 0.005f);
}

TEST(AdsrStages, ReleaseFallsToSilenceAndFinishes) {
    Adsr env(AdsrShape{0.001f, 0.01f, 0.8f, 0.05f});
    env.gateOn();
    for (int i = 0; i < samples(0.1f); ++i) env.next();
    env.gateOff();
    EXPECT_EQ(env.stage, AdsrStage::Release);
    float previous = env.level;
    int n = 0;
    while (!env.finished() && n < samples(1.0f)) {
        const float level = env.next();
        EXPECT_LE(level, previous);
        previous = level;
        ++n;
    }
    EXPECT_TRUE(env.finished());
    EXPECT_LT(n, samples(0.2f));
    EXPECT_FLOAT_EQ(env.next(), 0.0f);
}

TEST(AdsrStages, ReleaseDuringAttackStartsFromTheCurrentLevel) {
    Adsr env(AdsrShape{0.1f, 0.1f, 1.0f, 0.1f});
    env.gateOn();
    for (int i = 0; i < samples(0.02f); ++i) env.next();
    const float reached = env.level;
    env.gateOff();
    EXPECT_LT(env.next(), reached);
    EXPECT_GT(reached, 0.15f);
    EXPECT_LT(reached, 0.25f);
}
