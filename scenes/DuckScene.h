#pragma once
// The flying bathtub: a tub bobbing in a lumpy, noise-pushed sphere, two wings on its sides that
// flap with the bob, four rubber ducks riding along that lift out of the water one after another,
// and the water as a sheet of wobbling glass that shows the frame behind it, distorted. The
// camera orbits the tub and breathes in and out; a small blurred glow of the sphere and the tub
// lies over the frame.

#include "anim/NoiseField.h"
#include "anim/SplinePath.h"
#include "math/Vec.h"
#include "render/geometry/VertexSmoothing.h"
#include "scenes/SceneStage.h"
#include "show/Timetable.h"

#include <vector>

struct EffectBuffers;

// Radians of orbit angle per second at this scene clock (ms): 1.3, easing to 1.05 over
// [17000, 21000] while the camera settles above the tub.
float duckOrbitSpeed(float sceneClock);

// The camera for orbit angle u at this scene clock (ms), before it is aimed at the origin. Until
// 17 s it swings high and low (height 12.3 cos(u/4)); from 21 s it stays above (3 cos(u/4) + 15).
// The whole orbit breathes in and out with the zoom.
Vec3 duckCameraPosition(float sceneClock, float orbitAngle);

// How far the tub, wings, water and ducks are lowered at scene seconds: 0.8 + sin(6.38 s).
float duckBob(float seconds);

// Height of duck n (0..3) over the bob at this scene clock (ms). They float in the water (the big
// one at -0.5, the small ones under the surface at 1) and from dropStart lift out of it one after
// another to -2 (world y grows downwards on screen).
float duckHeight(int n, float sceneClock);
inline constexpr float kDuckDropStart = 20000.0f;

// The wing's flap angle (about the chord) and joint angle (folding the outer wing) at scene
// seconds, as the left wing takes them.
struct WingAngles {
    float flap = 0.0f;
    float joint = 0.0f;
};
WingAngles duckWingAngles(float seconds);

// The right wing's handles are the mirror image (z to -z) of the left's.
enum class WingSide { Left, Right };

// Where the wing's joint sits along its span, and the handles beyond it that the joint turns.
inline constexpr float kWingJoint = 5.5f;

// sources[i] = targets[i] turned by the flap about y, and beyond the joint also about x around the
// joint, all mirrored for the right wing so both wings move alike.
void flapWingHandles(WingSide side, WingAngles angles, const Vec3* targets, Vec3* sources, int count);

// One wing's deformation handles: one per vertex of its hidden handle mesh.
struct WingHandles {
    std::vector<Vec3> sources;
    std::vector<Vec3> targets;
    std::vector<float> strengths;
    std::vector<float> squaredRadii;

    int count() const { return static_cast<int>(targets.size()); }
};

class DuckScene {
  public:
    // Mesh indices, in load order.
    static constexpr int kLeftHandleWing = 0; // never drawn: its vertices are the left handles
    static constexpr int kRightHandleWing = 1;
    static constexpr int kSphere = 2;
    static constexpr int kTub = 3;
    static constexpr int kGlass = 4;
    static constexpr int kDuck = 5; // drawn four times
    static constexpr int kLeftWing = 6;
    static constexpr int kRightWing = 7;
    static constexpr int kStar = 8; // loaded, never drawn
    static constexpr int kDuckCount = 4;

    void attach(EffectBuffers& effects) { stage.effects = &effects; }
    void setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight);
    void render(int dt);

    SceneStage stage{timetable::clockStart::kDuck};
    // Carries over from frame to frame, even across long deltas; setup leaves it alone.
    float orbitAngle = 10.5f;
    SplinePath lightPath;
    NoiseField noise;
    WingHandles leftHandles;
    WingHandles rightHandles;
    VertexNeighbours sphereNeighbours;
    std::vector<float> lumpDepths; // this frame's push of each sphere vertex, smoothed
    std::vector<float> lumpScratch;
    Vec3 duckPositions[kDuckCount];
    Vec3 duckScales[kDuckCount];

  private:
    void shapeWing(int mesh, WingHandles& handles, float rampStart, bool left);
    void pushSphere(float seconds);
    void glowPass(float bob);
    void mainPass(float bob);
    void drawDucks(float seconds, float bob);
    void drawGlass(float seconds, float bob);
};
