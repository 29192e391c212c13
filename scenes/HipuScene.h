#pragma once
// A soft blob inside a tall, scrolling ball. A ring lattice of 80 handles twists and swells the
// blob, a radial squash pulls it back towards its centre, and a double beat every 1.88 s makes
// it flare. Fifty small glowing risers climb around it with short trails and are reborn below
// once they float out of sight. The camera circles at a distance that follows the blob's size
// and a 24-second zoom cycle; a low-resolution copy of the frame gives it its glow.

#include "anim/SplinePath.h"
#include "math/Vec.h"
#include "scenes/Lattice.h"
#include "scenes/SceneStage.h"
#include "show/Timetable.h"

struct EffectBuffers;

// The double beat at this scene clock (ms): two flares in every 1880 ms cycle, each rising
// over 250 ms and falling over the next 400; 0 until the clock reaches 3600.
float hipuBeat(float sceneClock);

// 0 until the clock reaches 3600, then eases up to 1 over 600 ms: the ball's texture scrolls
// faster from then on.
float hipuFlow(float sceneClock);

// Camera distance factor of the 24 s cycle: 3 (far) for the cycle's first 5 s and while the
// clock is negative, in to 1.2 over the next 2 s, held, and back out over the last 2 s.
float hipuZoomFactor(float sceneClock);

// Risers start and are reborn outside the radius-2 circle round the blob's axis.
inline bool riserSpotAccepted(float x, float z) { return x * x + z * z >= 4.0f; }

// Draws an accepted spot from the shared generator, two draws per try (x, then z), each in
// [-4, 4).
void drawRiserSpot(float& x, float& z);

class HipuScene {
  public:
    // The meshes, in the order of the loading table.
    static constexpr int kSky = 0;
    static constexpr int kBlob = 1;
    static constexpr int kFirstRiser = 2;
    static constexpr int kRiserCount = 50;
    static constexpr int kHandleCount = 80;
    // A riser whose height y passes this is reborn at a y between -10 and -5.
    static constexpr float kRiserTop = 5.0f;

    void attach(EffectBuffers& effects) { stage.effects = &effects; }
    void setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight);
    void render(int dt);

    // The frame's logic, without GL. Risers climb by frameSeconds at this frame's beat and are
    // reborn below once past kRiserTop.
    void moveRisers(float seconds, float frameSeconds);
    // Moves the lattice, deforms and squashes the blob for this scene time and sets blobExtent2.
    void shapeBlob(float seconds);

    SceneStage stage{timetable::clockStart::kHipu};
    bool risersOn = true;
    bool riserVisible[kRiserCount] = {};
    SplinePath lightPath;
    WaveLattice<kHandleCount> lattice;
    int burnPasses = 1;       // the very first glow burns once; every later one twice
    float zoomFactor = 3.0f;  // this frame's
    float beat = 0.0f;        // this frame's
    float blobExtent2 = 0.0f; // largest squared radius of the squashed blob, this frame
    // Each trail copy sits this much further along +y, the way the risers move, than the one
    // before: 4 units per second of the last frame that moved. A redraw with dt 0 keeps it and
    // so shows the same picture.
    float trailStep = 0.0f;

  private:
    void moveLight(int dt);
    // Circles the camera at the distance the blob's size and the zoom cycle ask for.
    void placeCamera(float seconds);
    void cullRisers();
    // The visible risers with their trails, in the glow or the full pass's colours.
    void drawRisers(float gain, float blue);
    void glowPass(float frameSeconds, float flow);
    void fullPass();
};
