#pragma once
// The last picture: the title word rocks in the middle of a large, lumpy ball while a small
// glowing ball marks a point light that wanders around it. The word twists and bulges in an
// eight-second cycle, the room pulses on a 1.4 s beat, stencil shadow volumes of the word and the
// room give soft shadows, light shafts stream from the light's place on screen, and the room is
// textured with the previous frame, so the picture feeds back into itself.

#include "anim/NoiseField.h"
#include "anim/SplinePath.h"
#include "math/Vec.h"
#include "scenes/Lattice.h"
#include "scenes/LightShafts.h"
#include "scenes/SceneStage.h"
#include "show/Timetable.h"

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
    // The meshes, in the order of the loading table.
    static constexpr int kRoom = 0;
    static constexpr int kTitle = 1;
    static constexpr int kBulb = 2;
    static constexpr int kHandleRows = 16;

    void attach(EffectBuffers& effects) { stage.effects = &effects; }
    void setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight);
    void render(int dt);

    SceneStage stage{timetable::clockStart::kClosing};
    SplinePath lightPath;
    NoiseField roomNoise;
    WaveLattice<4 * kHandleRows> lattice;
    // The last shaft pass's streak centre and whether it drew the room.
    ShaftCentre shaftCentre;
    bool shaftRoomDrawn = false;

  private:
    void lumpRoom();
    void shapeTitle(float seconds);
    void drawShaftPicture(float beat);
    void drawLit();
    void drawMaskSurfaces();
};
