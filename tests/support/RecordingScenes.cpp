#include "support/RecordingScenes.h"

#include "post/EffectBuffers.h"

#include <GL/gl.h>

namespace {

RecordingScenes& self(void* context) { return *static_cast<RecordingScenes*>(context); }

bool available(void* context, SceneId id) { return self(context).selected.has(id); }

void attach(void* context, SceneId id, EffectBuffers& effects) {
    SceneCall call{"attach", id};
    call.effectsSmallWidth = effects.smallWidth;
    self(context).calls.push_back(call);
}

void setup(void* context, SceneId id, int screenWidth, int, int effectWidth, int) {
    SceneCall call{"setup", id, 0, screenWidth};
    call.effectsSmallWidth = effectWidth;
    self(context).calls.push_back(call);
}

void render(void* context, SceneId id, int dt, SceneArgs args) {
    RecordingScenes& scenes = self(context);
    scenes.calls.push_back(SceneCall{"render", id, dt, args.arg, args.fade});
    glClearColor(scenes.grey, scenes.grey, scenes.grey, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_TEXTURE_2D); // scenes finish with texturing on, as their own overlays need it
}

} // namespace

SceneCalls RecordingScenes::table() {
    SceneCalls t;
    t.context = this;
    t.available = &available;
    t.attach = &attach;
    t.setup = &setup;
    t.render = &render;
    return t;
}

std::vector<SceneCall> RecordingScenes::renders() const {
    std::vector<SceneCall> out;
    for (const SceneCall& c : calls)
        if (c.what == "render") out.push_back(c);
    return out;
}
