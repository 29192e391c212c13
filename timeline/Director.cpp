#include "timeline/Director.h"

#include <GL/gl.h>

void Director::run(int demoTime, bool& quitRequested) {
    const int dt = demoTime - previousTime_;
    previousTime_ = demoTime;
    runningTotal_ += dt;
    const int t = runningTotal_;

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glDepthFunc(GL_ALWAYS);
    if (t >= kShowEnd) {
        quitRequested = true;
        return;
    }
    glClear(GL_COLOR_BUFFER_BIT);
}

const char* Director::sectionName(int t) {
    struct Section {
        int end;
        const char* name;
    };
    static constexpr Section kSections[] = {
        {41800, "title"},      {70000, "swarm"},  {86000, "star ball"}, {97300, "white-out"},
        {126000, "hipu"},      {157000, "duck"},  {164000, "star ball 2"}, {220000, "cave"},
        {246000, "potko"},     {kShowEnd, "closing"},
    };
    for (const Section& s : kSections)
        if (t < s.end) return s.name;
    return "end";
}
