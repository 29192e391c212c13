#include "app/Shell.h"

#include "app/DemoClock.h"
#include "app/FrameRate.h"
#include "platform/Events.h"
#include "platform/GlContext.h"
#include "platform/MusicStream.h"
#include "platform/Quit.h"
#include "platform/Ticks.h"
#include "render/FrameProjection.h"
#include "render/ScreenBlit.h"
#include "render/ShellText.h"
#include "timeline/Director.h"

#include <GL/gl.h>

#include <cstdio>

namespace {

constexpr const char* kMusicFile = "Music/cq.mp3";

struct Shell {
    ScreenSize screen;
    GlWindow window;
    unsigned screenTexture = 0;
    unsigned creationTick = 0;
    DemoClock clock;
    FrameRate frameRate;
    MusicStream music;
    Director director;
    bool quitRequested = false;

    void writeStatus(int demoTime) {
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -1.0f);
        setTextState();
        const float sy = static_cast<float>(screen.windowHeight) * 0.0013020834f;
        char text[64];
        std::snprintf(text, sizeof text, "Time: %i", demoTime);
        glColor4f(1, 1, 1, 1);
        printText(screen, -0.49f, 0.46f, 0.1f, 0.0f, text);
        std::fputs(text, stdout);
        std::fputs("   ", stdout);
        std::snprintf(text, sizeof text, "Fps: %i", frameRate.framesPerSecond);
        printText(screen, -0.49f, 0.46f - 0.02f / sy, 0.1f, 0.0f, text);
        std::fputs(text, stdout);
        std::fputs("\n", stdout);
        glPopMatrix();
    }

    // One iteration of the main loop. Returns false once the loop must end after this frame.
    bool frame() {
        bool keepRunning = true;
        WindowEvent event;
        if (pollWindowEvent(window, event)) {
            switch (event.type) {
            case WindowEvent::Type::Quit: keepRunning = false; break; // this frame still completes
            case WindowEvent::Type::KeyDown:
                if (clock.pressKey(event.key, tickCount())) quitRequested = true;
                break;
            case WindowEvent::Type::Resize: setFrameProjection(screen, event.width, event.height); break;
            case WindowEvent::Type::None: break;
            }
        }
        const int demoTime = clock.read(tickCount());
        setFrameProjection(screen, screen.windowWidth, screen.windowHeight);
        director.run(demoTime, quitRequested);
        glEnable(GL_BLEND);
        frameRate.countFrame(tickCount());
        blitFrame(screen, screenTexture);
        writeStatus(demoTime);
        swapGlWindow(window);
        return keepRunning && !quitRequested;
    }
};

} // namespace

int runDemo(const Options& options) {
    Shell shell;
    WindowDesc desc;
    desc.fullscreen = !options.windowed;
    desc.width = shell.screen.windowWidth;
    desc.height = shell.screen.windowHeight;
    switch (openGlWindow(desc, shell.window)) {
    case WindowResult::Declined: return 0;
    case WindowResult::WindowFailed: return 1;
    case WindowResult::ContextFailed: closeGlWindow(shell.window); return 1;
    case WindowResult::Ok: break;
    }
    shell.creationTick = tickCount();
    shell.clock.tickBase = tickCount();
    shell.clock.musicEnabled = options.musicEnabled;
    shell.clock.startOffset = options.startOffset;
    shell.screenTexture = createScreenTexture(shell.screen);

    // The display may not give the size asked for: the viewport follows the drawable.
    int width = 0, height = 0;
    glWindowSize(shell.window, width, height);
    setFrameProjection(shell.screen, width, height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    setTextState();
    printText(shell.screen, 0.0f, 0.0f, 0.15f, 0.0f, "Loading Quillmere..");
    glFlush();
    swapGlWindow(shell.window);

    if (options.musicEnabled) {
        if (shell.music.open(kMusicFile, true) && shell.music.play()) {
            shell.music.setPosition(options.startOffset);
            shell.clock.music = &shell.music;
        } else {
            reportStartupError("Can't load file Music/cq.mp3", "File read error");
            shell.clock.musicEnabled = false; // the loop ends on the posted quit
        }
    } else {
        // Without music the start offset moves the tick base instead.
        shell.clock.tickBase -= static_cast<unsigned>(options.startOffset);
    }

    std::printf("Initialization finished in %.2f seconds! \n", (tickCount() - shell.creationTick) * 0.001);
    shell.clock.lastTickTime = static_cast<int>(tickCount() - shell.clock.tickBase);

    while (shell.frame()) {
    }

    shell.music.close();
    std::fflush(stdout);
    closeGlWindow(shell.window);
    return startupFailed() ? 1 : 0;
}
