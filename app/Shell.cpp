#include "app/Shell.h"

#include "app/MemoryNeed.h"
#include "app/ShowFiles.h"
#include "render/FrameSize.h"
#include "scenes/SceneRegistry.h"

#include "platform/Quit.h"
#include "platform/Ticks.h"
#include "render/Backends.h"
#include "render/GlErrors.h"
#include "render/PassState.h"
#include "render/ScreenBlit.h"
#include "render/ShellText.h"
#include "render/TextureResample.h"

#include <cstdio>
#include <cstring>

// Opens the window with the API the renderer asks for; where the shader renderer was not named and
// the machine offers no OpenGL ES 3.0, with the fixed-function renderer instead. False with the
// exit status when the program must end.
bool Shell::openWindow(const WindowDesc& desc, int& exitStatus) {
    WindowDesc withApi = desc;
    withApi.api = backend().api;
    needMemoryFor("an OpenGL context of %d x %d", desc.width, desc.height);
    WindowResult opened = openGlWindow(withApi, window);
    const RenderBackend* fallback = referenceBackend();
    if (opened == WindowResult::NoEsContext && desc.quietWithoutEs && fallback) {
        std::fputs("castrelle: no OpenGL ES 3.0 context here; drawing with the fixed-function renderer\n", stderr);
        closeGlWindow(window);
        useBackend(*fallback);
        withApi.api = fallback->api;
        opened = openGlWindow(withApi, window);
    }
    switch (opened) {
    case WindowResult::Declined:
        exitStatus = 0;
        return false;
    case WindowResult::WindowFailed:
        exitStatus = 1;
        return false;
    case WindowResult::ContextFailed:
    case WindowResult::NoEsContext:
        closeGlWindow(window);
        exitStatus = 1;
        return false;
    case WindowResult::Ok:
        break;
    }
    return true;
}

bool Shell::startUp(const WindowDesc& desc, int& exitStatus) {
    screen.windowWidth = desc.width;
    screen.windowHeight = desc.height;
    if (!openWindow(desc, exitStatus)) return false;
    creationTick = tickCount();
    clock.tickBase = tickCount();
    if (largestFrameSize() < screen.frameWidth) {
        std::fprintf(stderr,
                     "castrelle: this OpenGL context cannot render a %d x %d frame (at most %d); "
                     "choose a smaller --frame\n",
                     screen.frameWidth, screen.frameHeight, largestFrameSize());
        closeGlWindow(window);
        exitStatus = 1;
        return false;
    }
    needMemoryFor("the %d x %d frame the show draws into", screen.frameWidth, screen.frameHeight);
    if (!prepareFrame(screen, frame)) {
        if (std::strcmp(glErrorName(takeGlError()), "GL_OUT_OF_MEMORY") == 0)
            reportOutOfMemory();
        else
            reportStartupError("This OpenGL context cannot render into an offscreen frame.", "OPENGL");
        closeGlWindow(window);
        exitStatus = 1;
        return false;
    }
    bindWindowTarget();

    // The display may not give the size asked for: the viewport follows the drawable.
    int width = 0, height = 0;
    glWindowSize(window, width, height);
    setFrameProjection(screen, width, height);
    clear(Buffers::Colour);
    setTextState();
    printText(screen, 0.0f, 0.0f, 0.15f, 0.0f, "Loading Quillmere..");
    swapGlWindow(window);

    // The bar is drawn on the window; the warm-up renders between its steps go to the frame.
    BarStep bar{this, [](void* context) {
                    Shell& self = *static_cast<Shell*>(context);
                    bindWindowTarget();
                    self.loadingBar.drawStep(self.screen.windowWidth, self.screen.windowHeight);
                    swapGlWindow(self.window);
                    bindFrameTarget(self.frame);
                }};
    bindFrameTarget(frame);
    needMemoryFor("the show's textures, models and effect buffers at a %d x %d frame", screen.frameWidth,
                  screen.frameHeight);
    const SceneCalls calls = sceneCallsFor(scenes);
    loadAll(show, calls, loadSizesFor(screen.frameWidth), bar);
    director.attach(calls, show.directorEffects);
    return true;
}

void Shell::startMusic(const Options& options) {
    clock.musicEnabled = options.musicEnabled;
    clock.startOffset = options.startOffset;
    if (!options.musicEnabled) {
        // Without music the start offset moves the tick base instead.
        clock.tickBase -= static_cast<unsigned>(options.startOffset);
        return;
    }
    if (music.open(kMusicFile, true) && music.play()) {
        noteSoundtrackLength(music);
        music.setPosition(options.startOffset);
        clock.music = &music;
    } else {
        reportUnreadableFile(kMusicFile, music.openError());
        clock.musicEnabled = false; // the main loop ends on the posted quit
    }
}

void noteSoundtrackLength(const MusicStream& music) {
    const int length = music.lengthMs(); // 0 where the length is not known yet (a browser's stream)
    if (length <= 0 || length >= timetable::kShowEnd) return;
    std::fprintf(stderr,
                 "castrelle: the soundtrack ends at %.1f s, before the show (%.1f s): the rest is silent\n",
                 length * 0.001, timetable::kShowEnd * 0.001);
}

void Shell::writeStatus(int demoTime) {
    char timeText[32], fpsText[32];
    std::snprintf(timeText, sizeof timeText, "Time: %i", demoTime);
    std::snprintf(fpsText, sizeof fpsText, "Fps: %i", frameRate.framesPerSecond);
    placeStatusText(screen, timeText, fpsText);
    // The frame size last: it changes as live play holds its rate.
    if (printStatus) std::printf("%s   %s   Frame: %i\n", timeText, fpsText, screen.frameWidth);
}

void Shell::renderFrame(int demoTime) {
    bindFrameTarget(frame);
    setFrameProjection(screen, screen.windowWidth, screen.windowHeight);
    director.run(demoTime, quitRequested);
    frameRate.countFrame(tickCount());
    blitFrame(screen, frame);
    writeStatus(demoTime);
    if (++framesUnchecked_ < glCheckFrames) return;
    framesUnchecked_ = 0;
    const unsigned error = takeGlError();
    // A window the window system took away fails the calls on it: no fault of the frame's.
    if (error != 0 && glError == 0 && !glWindowGone(window)) {
        glError = error;
        std::fprintf(stderr,
                     "castrelle: %s in the frame at %d ms (CASTRELLE_GL_DEBUG=1 has the shader renderer's "
                     "context name the call)\n",
                     glErrorName(error), demoTime);
    }
}

bool Shell::changeFrameSize(int size) {
    if (size == screen.frameWidth) return true;
    needMemoryFor("the show's textures and effect buffers at a %d x %d frame", size, size);
    {
        TextureResampler resampler(size, size);
        resizeAll(show, sceneCallsFor(scenes), loadSizesFor(size), resampler);
        if (!resizeFrameTarget(frame, size, size, resampler)) return false;
    }
    screen.frameWidth = screen.frameHeight = size;
    bindFrameTarget(frame);
    return true;
}

void Shell::keepStartState() {
    start_ = std::make_unique<StartState>(StartState{scenes, director, savedRandom()});
}

void Shell::startOver() {
    if (!start_) return;
    scenes = start_->scenes;
    director = start_->director;
    restoreRandom(start_->random);
    // The kept scenes drew at the frame size of their load.
    const LoadSizes sizes = loadSizesFor(screen.frameWidth);
    resizeScenes(show, sceneCallsFor(scenes), sizes);
}

void Shell::shutDown() {
    music.close();
    std::fflush(stdout);
    closeGlWindow(window);
}
