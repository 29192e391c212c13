#pragma once
// The star swarm: 450 small stars pop into existence one after another and stream along
// tangled, slowly twisting orbits inside a large textured ball, lit by a light that travels a
// closed path, with a glow made from a blurred low-resolution copy of the frame. The camera
// either rides just behind the first star or hangs back and looks at the swarm's centre; the
// director switches between the two views every 3.7 s through the variant. Over the swarm two
// credit images fly past as rows of additive, noise-wobbled sprites.

#include "anim/NoiseField.h"
#include "anim/SplinePath.h"
#include "assets/TextureSlots.h"
#include "math/Vec.h"
#include "render/Billboard.h"
#include "scenes/SceneStage.h"
#include "show/Timetable.h"

struct EffectBuffers;

// Every view change jumps the animation a second ahead, until the clock reaches this (ms).
inline constexpr float kSwarmJumpsUntil = 69600.0f;

// The scene clock's step for one render: dt as every scene takes it, then the 1 s jump when the
// variant differs from the previous render's (a dt 0 render counts too). previousVariant
// becomes variant.
void advanceSwarmClock(SceneClock& clock, int& previousVariant, int dt, int variant);

// The close view (riding behind the first star) or the wide one (looking at the swarm's centre)
// at scene time seconds: close before 36.4 s whatever the variant, wide after 57 s whatever the
// variant, the variant's choice (0 close) in between.
bool swarmCloseView(float seconds, int variant);

// How much the orbits twist at scene time seconds: it breathes between 0.115 and 0.215 until
// 62 s and settles at 0.115 by 66 s.
float swarmTwist(float seconds);

// Where the star whose copy 0 is mesh object j sits at scene time seconds.
Vec3 swarmStarPosition(float seconds, int j, float twist);

// Which copy of a star to draw (1, 2 or 3 for copy 0, 1 or 2), or 0 for none: by its distance
// from the eye and its depth along the unit view direction, and not at all outside a cone of
// about 56.6 degrees around the view, unless it is within 1 unit of the eye.
int swarmStarState(const Vec3& star, const Vec3& eye, const Vec3& view);

// One row of credit sprites this frame. count 0 means the row is not drawn.
struct CreditRow {
    int count = 0;
    float spread = 1.0f; // 1 while the row is strung out, 0.2 once it has gathered
    float alpha = 0.0f;
    Vec3 centre;
    Vec3 step; // from one sprite to the next, before the wobble
    int slot = 0;
    Vec4 colour; // rgb, and alpha for the sprites
};

// Row 0 (credpe) is up over credits seconds [3.5, 6.5], row 1 (credko) over [11, 14]; each
// gathers from a long faint string of sprites into a bright knot and back. c0 is the noise
// field's value at the origin.
CreditRow creditRowAt(int row, float creditsSeconds, float seconds, float c0);

// Sprite m of the row, wobbled by the noise field at scene time seconds.
Vec3 creditSpritePosition(const CreditRow& row, int m, const NoiseField& noise, float seconds);

class KukkeliScene {
  public:
    static constexpr int kStarCount = 450;
    static constexpr int kCopies = 3;
    // The meshes, in the order of the loading table: the ball, then every star's copies.
    static constexpr int kSky = 0;
    static constexpr int kFirstStar = 1;

    void attach(EffectBuffers& effects) { stage.effects = &effects; }
    void setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight);
    void render(int dt, int variant);

    // Mesh object of copy c of star i.
    int starObject(int i, int c) const { return kFirstStar + c * kStarCount + i; }

    SceneStage stage{timetable::clockStart::kKukkeli};
    int previousVariant = 0;
    float creditsClock = 0.0f; // seconds of rendering, for the credit rows
    float twist = 0.05f;
    bool starsEnabled = true;
    int feedbackPasses = 1;
    float popIn[kStarCount] = {};   // per star
    int starState[kStarCount] = {}; // per star, as swarmStarState
    Vec3 target;
    Vec3 centre; // mean of the star positions this frame
    SplinePath lightPath;
    NoiseField noiseField;
    BillboardWindow creditWindow[2]; // the part of each credit image that holds its letters

  private:
    void moveStars(float seconds);
    void moveLightAndCamera(int dt, int variant, float seconds);
    void classifyStars();
    void drawStars();
    void glowPass(float g);
    void fullPass(float g);
    void drawCredits(float seconds);

    int batch[kStarCount] = {}; // the mesh objects of this pass's stars
};
