#pragma once
// The flight through the cave: the camera winds along a passage behind a swinging lantern, a
// perforated box round a small glowing ball, whose holes throw stencil shadows onto the walls.
// Five greetings stand beside the path; as the camera passes each, the view and the lantern's
// front window turn towards it for a moment and it is drawn. Light shafts stream from the lantern.

#include "anim/CameraFrame.h"
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

// Where along the camera path (its travel, "campos") greeting k stands and how it is shown.
struct CaveGreeting {
    float start;   // campos at which it starts to fade in
    float lead;    // it stands where the camera will be at campos start + lead
    Vec3 offset;   // from that point
    Vec3 rotation; // x, y, z radians
};
inline constexpr int kCaveGreetingCount = 5;
extern const CaveGreeting kCaveGreetings[kCaveGreetingCount];

// How far greeting k is shown at this campos: in over 0.035 from its start, out over 0.01 from
// start + 0.07. Neighbouring windows overlap.
float caveGreetingShown(int k, float campos);

class CaveScene {
  public:
    static constexpr float kCameraSpeed = 18.0f; // world units per second along the camera path

    void attach(EffectBuffers& effects) { effects_ = &effects; }
    void setup(int screenWidth, int screenHeight, int effectWidth, int effectHeight);
    // A delta of 0 (the director drawing the same moment again) draws nothing and moves nothing.
    void render(int dt);

    // The camera path's travel: how far the flight has come. It only grows, so each greeting is
    // shown once per run.
    float campos() const { return cameraPath.travel; }

    SceneClock clock{timetable::clockStart::kCave};
    Boxed<Model> model;
    // Mesh indices, -1 until their file is loaded; greeting k is firstGreeting + k.
    int firstGreeting = -1;
    int caveIndex = -1;
    int lanternIndex = -1;
    int bulbIndex = -1;
    CameraFrame camera;
    Vec3 target;
    SceneLight light;
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
    bool ready() const;
    void moveFlight(float moved, float seconds);
    void turnToGreetings(float seconds);
    void shaftPass();
    void litPass();
    void shadowMask();

    EffectBuffers* effects_ = nullptr;
};
