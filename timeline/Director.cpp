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
