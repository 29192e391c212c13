#pragma once
// The last picture: the title word rocks in the middle of a large, lumpy ball while a small
// glowing ball marks a point light that wanders around it. The word twists and bulges in an
// eight-second cycle, the room pulses on a 1.4 s beat, stencil shadow volumes of the word and the
// room give soft shadows, light shafts stream from the light's place on screen, and the room is
// textured with the previous frame, so the picture feeds back into itself.

#include "anim/CameraFrame.h"
#include "anim/NoiseField.h"
#include "anim/SplinePath.h"
#include "assets/Boxed.h"
#include "assets/Model.h"
#include "assets/SceneLight.h"
#include "math/Vec.h"
#include "scenes/LightShafts.h"
#include "scenes/SceneClock.h"
#include "timeline/ShowTimetable.h"

#include <memory>

struct EffectBuffers;

// How much the room pulses at this scene clock (ms): a main hit every 1.4 s and a lighter
// after-beat that pauses while the clock is in [10 s, 11 s).
float closingBeat(float sceneClock);

// How far the word's twist is let through at this scene clock (ms): it eases in over 1.5 s, holds,
// eases out over 1.5 s and rests for the remainder of each eight-second cycle.
float closingTwistAmount(float sceneClock);

// The camera position at scene time seconds; it always looks at the origin.
Vec3 closingCameraPosition(float seconds);

class ClosingScene {
  public:
    static constexpr int kHandleCount = 64;
    static constexpr int kHandleRows = 16;

    void attach(EffectBuffers& effects) { effects_ = &effects; }
    void setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight);
    void render(int dt);

    SceneClock clock{timetable::clockStart::kClosing};
    Boxed<Model> model;
    // Mesh indices, -1 until their file is loaded.
    int roomIndex = -1;
    int titleIndex = -1;
    int bulbIndex = -1;
    CameraFrame camera;
    SceneLight light;
    SplinePath lightPath;
    NoiseField roomNoise;
    Vec3 restHandles[kHandleCount];
    Vec3 movedHandles[kHandleCount];
    float handleStrength[kHandleCount] = {};
    float handleRadius2[kHandleCount] = {};
    // The last shaft pass's streak centre and whether it drew the room.
    ShaftCentre shaftCentre;
    bool shaftRoomDrawn = false;

  private:
    bool ready() const;
    void lumpRoom();
    void moveHandles(float seconds);
    void shapeTitle();
    void shaftPass(float beat);
    void litPass();
    void shadowMask();

    EffectBuffers* effects_ = nullptr;
};
