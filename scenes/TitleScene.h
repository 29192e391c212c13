#pragma once
// The opening: one title word at a time hangs in front of a slowly scrolling, textured ball.
// The word is deformed by a lattice of moving handles, reflects a cube map and glows; from 24 s
// of scene time fifty sickles rise through the picture. The director picks the word (part) and
// drives the crossfades (fade), during which the word switches to its alternative model, the
// camera swings half around and the glow streaks.

#include "anim/SplinePath.h"
#include "assets/TextureSlots.h"
#include "math/Vec.h"
#include "scenes/Lattice.h"
#include "scenes/SceneStage.h"
#include "show/Timetable.h"

struct EffectBuffers;

// Mesh index offset of the word shown for part (-1 or 0..3) and fade at scene time seconds:
// -1 for no word, 0..3 the plain words, 4..7 their alternative models, which are used during
// crossfades once 15.5 s have passed.
int titleWordFor(int part, float fade, float seconds);

// How strongly the lattice bends the word at this scene clock (ms): a nine-second cycle that
// fades out by 10.8 s, then the crossfade value, then the cycle again from 29.5 s.
float titleDeformAmount(float sceneClock, float fade);

// How much the room darkens on the beat at this scene clock (ms): a main hit and a lighter
// after-beat that pauses for a second at 10 s.
float titleBeat(float sceneClock);

// The camera position for word w (-1..7) at scene time seconds, before the crossfade's half turn.
// roll keeps its value when w is -1.
Vec3 titleCameraPosition(int word, float seconds, float fade, float& roll);

// Angle of the half turn about Y during a crossfade: pi at fade 0.5, 0 at 0 and 1; none once the
// clock has reached 36 s.
float titleCameraTurn(float fade, float sceneClock);

class TitleScene {
  public:
    static constexpr int kSky = 0;
    static constexpr int kFirstWord = 1;
    static constexpr int kWordCount = 4;
    static constexpr int kFirstSickle = 9;
    static constexpr int kSickleCount = 50;
    static constexpr int kHandleCount = 64;
    // Every frame draws the room in this texture, whatever its material says.
    static constexpr int kRoomTexture = TextureSlot::KivisementtiBBkontrasti;

    void attach(EffectBuffers& effects) { stage.effects = &effects; }
    void setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight);
    void render(int dt, int part, float fade);

    SceneStage stage{timetable::clockStart::kTitle};
    SplinePath cameraPath; // the light sits on it
    bool sicklesOn = true;
    bool sickleVisible[kSickleCount] = {};
    WaveLattice<kHandleCount> lattice;
    float roll = 0.0f;

  private:
    void moveLattice(float seconds, float d);
    void shapeWord(int word, float d);
    void moveSickles(float seconds, float frameSeconds);
    void drawSickles();
    // The room with this frame's ambient and attenuation, through the camera of the effect-sized
    // or the screen-sized view, leaving that view's orthographic projection.
    void drawRoom(const Vec4& ambient, float constantAttenuation, bool effectSize);
    void glowPass(int part, int word, float fade, float beat, float wordFadeIn, float seconds);
    void fullPass(int part, int word, float wordFadeIn);
};
