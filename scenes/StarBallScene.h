#pragma once
// The boiling cube-ball: one rounded cube whose skin is heaved into lumps by turbulence and then
// breathes radially with a noise that drifts faster in surges, seen by a camera that sways close
// to it. It is drawn with a cube-map reflection, and a darker reflection-only copy, burnt and
// zoom-streaked at the wide effect size, is laid over it as a glow. Reflection, breathing and
// streaks fade in from 3.5 s after the first frame the scene ever drew.

#include "anim/NoiseField.h"
#include "math/Vec.h"
#include "scenes/SceneStage.h"
#include "show/Timetable.h"

#include <vector>

struct EffectBuffers;

// How fast the breathing noise drifts at this scene clock (ms): 0.25, surging to 1.25 over the
// first second of every eight-second cycle and falling back between 6 and 7.5 s.
float starBallNoiseSpeed(float sceneClock);

// Strength of the breathing, the reflection and the streaks: 0 until 3.5 s after startMark (the
// clock of the first frame ever drawn), then a five-second half-cosine rise to 1.
float starBallIntensity(float sceneClock, float startMark);

// The lumps: each rest position pushed along its normal by up to 70 units where the turbulence
// of its position is near 0, then scaled by 0.01 into out. Depends on the rest shape alone.
void swellAlongNormals(const NoiseField& field, const Vec3* rest, const Vec3* normals, Vec3* out, int count);

// The breathing: each position moved along its direction from the origin by a noise that
// travels along x with noisePhase, scaled by intensity. A position at the origin has no direction
// and stays.
void breatheRadially(const NoiseField& field, Vec3* positions, int count, float noisePhase, float intensity);

class StarBallScene {
  public:
    // The meshes, in the order of the loading table.
    static constexpr int kBall = 0;
    static constexpr int kCube = 1;
    static constexpr int kStar = 2;
    static constexpr float kNotStarted = -1.0f; // startMark before the first frame
    static constexpr float kStartNoisePhase = 50.0f;

    void attach(EffectBuffers& effects) { stage.effects = &effects; }
    void setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight);
    void render(int dt);

    SceneStage stage{timetable::clockStart::kStarBall};
    float startMark = kNotStarted;
    float phase = 0.0f; // s: clock * 0.001 + 10
    float noisePhase = kStartNoisePhase;
    float intensity = 0.0f;
    Vec3 target;
    // Built in this order at set-up, which leaves the shared random generator where the next
    // module's set-up expects it; the breathing samples only the first.
    NoiseField noiseFields[3];
    // The lumped shape, already scaled: the same every frame, so it is made once.
    std::vector<Vec3> swollenPositions;

  private:
    void shapeCube();
    void glowPass();
    void mainPass();
};
