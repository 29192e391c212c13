#pragma once
// The flight through the cave: the camera winds along a passage behind a swinging lantern, a
// perforated box round a small glowing ball, whose holes throw stencil shadows onto the walls.
// Five greetings stand beside the path; as the camera passes each, the view and the lantern's
// front window turn towards it for a moment and it is drawn. Light shafts stream from the lantern.

#include "anim/SplinePath.h"
#include "math/Vec.h"
#include "scenes/LightShafts.h"
#include "scenes/SceneStage.h"
#include "show/CaveGreetings.h"
#include "show/Timetable.h"

struct EffectBuffers;

// Where along the camera path (its travel, "campos") greeting k stands and how it is shown: its
// place in the show's table, in the scene's floats.
struct CaveGreeting {
    float start;   // campos at which it starts to fade in
    float lead;    // it stands where the camera will be at campos start + lead
    Vec3 offset;   // from that point
    Vec3 rotation; // x, y, z radians
};
extern const CaveGreeting kCaveGreetings[kCaveGreetingCount];

// How far greeting k is shown at this campos: in over 0.035 from its start, out over 0.01 from
// start + 0.07. Neighbouring windows overlap.
float caveGreetingShown(int k, float campos);

class CaveScene {
  public:
    // The meshes, in the order of the loading table; greeting k is kFirstGreeting + k.
    static constexpr int kFirstGreeting = 0;
    static constexpr int kCave = kCaveGreetingCount;
    static constexpr int kLantern = kCave + 1;
    static constexpr int kBulb = kCave + 2;
    static constexpr float kCameraSpeed = 18.0f; // world units per second along the camera path

    void attach(EffectBuffers& effects) { stage.effects = &effects; }
    void setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight);
    // A delta of 0 (the director drawing the same moment again) draws nothing and moves nothing.
    void render(int dt);

    // The camera path's travel: how far the flight has come. It only grows, so each greeting is
    // shown once per run.
    float campos() const { return cameraPath.travel; }

    SceneStage stage{timetable::clockStart::kCave};
    Vec3 target;
    SplinePath cavePath;    // as built from the table: the aim point runs along it
    SplinePath cameraPath;  // cavePath resampled: the camera flies it
    SplinePath lanternPath; // a jittered copy, resampled: the lantern floats along it
    SplinePath swayPath;    // a small loop added to the lantern
    bool greetingVisible[kCaveGreetingCount] = {};
    ShaftCentre shaftCentre; // of the last frame's shafts
    // The per-frame "campos_time" console line. Captures switch it off with the status line:
    // their standard output carries the report and their progress bar redraws its line.
    bool printCampos = true;

  private:
    void moveFlight(float moved, float seconds);
    void turnToGreetings(float seconds);
    void drawShaftPicture();
    void drawLit();
    void drawMaskSurfaces();
};
