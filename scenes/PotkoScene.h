#pragma once
// The writhing tower: eight copies of one element, stacked a unit apart and each turned a further
// 45 degrees, inside a lumpy ball whose texture scrolls. A column of 128 handles stretches the
// element into a tall column, squeezes it in a wave that runs faster on the throb, kicks it on the
// beat and sways each row along a spline. A small copy of the frame glows over it, and the first
// two seconds come out of a blur.

#include "anim/NoiseField.h"
#include "anim/SplinePath.h"
#include "math/Angles.h"
#include "math/Vec.h"
#include "scenes/SceneStage.h"
#include "show/Timetable.h"

struct EffectBuffers;

// The 1.2 s kick at this scene clock (ms): 0 outside the gate that opens over [3300, 3800) and
// closes over [18500, 19000).
float potkoKick(float sceneClock);

// The 600 ms throb at this scene clock (ms), fading in over [18500, 19000) and running from then on.
float potkoThrob(float sceneClock);

// How far the opening blur spreads at scene time seconds: 0.15 at 0, gone from 2 s on.
float potkoOpeningBlur(float seconds);

class PotkoScene {
  public:
    static constexpr int kSky = 0;
    static constexpr int kTower = 1;
    static constexpr int kTowerCopies = 8;
    static constexpr float kCopyTurn = kSceneQuarterPi; // 45 degrees between neighbouring copies
    static constexpr int kHandleRows = 16;
    static constexpr int kHandlesPerRow = 8;
    static constexpr int kHandleCount = kHandleRows * kHandlesPerRow;
    static constexpr int kSwayPoints = 9;

    void attach(EffectBuffers& effects) { stage.effects = &effects; }
    void setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight);
    void render(int dt);

    // Places the tower for copy c (0..7): c units up and turned c * 45 degrees.
    void placeCopy(int copy);

    SceneStage stage{timetable::clockStart::kPotko};
    float beatClock = 0.0f; // runs up to 4.25 times as fast on the throb: drives the squeeze wave
    SplinePath swayPath;    // the rough path the handle rows sway along
    SplinePath lightPath;   // the same, resampled: the light travels it at constant speed
    Vec3 restHandles[kHandleCount];
    Vec3 movedHandles[kHandleCount];
    float handleRadius2[kHandleCount] = {};
    NoiseField surfaceNoise;
    float showAlpha = 0.8f;
    int feedbackPasses = 1;

  private:
    void moveHandles(float w7, float bright, float stretch);
    void bulgeBall();
    void drawTower(const Vec4& colour, const Vec4& ambient);
    void glowPass(float bright);
    void fullPass(float bright, float seconds);
};
