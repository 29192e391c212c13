#include "app/Player.h"

#include "app/MemoryNeed.h"
#include "app/ProgressBar.h"
#include "platform/Events.h"
#include "platform/Interrupt.h"
#include "platform/Quit.h"
#include "platform/Ticks.h"
#include "render/FrameSize.h"
#include "render/FrameTarget.h"
#include "render/ScreenBlit.h"
#include "show/Sections.h"

#include <cstdio>
#include <new>
#include <string>

namespace {

// Without a refresh rate from the display, the rate most displays run at.
constexpr int kDefaultRefreshHz = 60;

// While the window cannot be seen the loop waits for events, waking this often to follow the
// clock (the end of the show, the loop going round).
constexpr int kUnseenWaitMs = 100;

// The largest offered size the screen's picture calls for and the context can render.
int ceilingFor(int windowWidth, int windowHeight) {
    const int sharp = defaultFrameFor(windowWidth, windowHeight);
    const int largest = largestFrameSize();
    int ceiling = kFrameSizes[0];
    for (const int s : kFrameSizes)
        if (s <= sharp && s <= largest) ceiling = s;
    return ceiling;
}

PlayRange rangeFor(const Options& options) {
    PlayRange range;
    range.loop = options.loop;
    if (options.loop && !options.section.empty()) {
        const int section = timetable::sectionNamed(options.section);
        range.start = timetable::kSections[section].start;
        range.end = timetable::sectionEnd(section);
    }
    return range;
}

} // namespace

bool Player::startUp(const Options& options, int& exitStatus) {
    shell.screen.frameWidth = shell.screen.frameHeight = options.frameSize ? options.frameSize : kBaseFrame;
    WindowDesc desc;
    desc.fullscreen = !options.windowed;
    desc.quietWithoutEs = options.renderer == nullptr;
    if (!shell.startUp(desc, exitStatus)) return false;
    range = rangeFor(options);
    const int refresh = glWindowRefreshRate(shell.window);
    const double targetMs = 1000.0 / (refresh > 0 ? refresh : kDefaultRefreshHz);
    if (!options.frameSize) {
        governor.emplace(targetMs, shell.screen.frameWidth, kFrameSizes[0],
                         ceilingFor(shell.screen.windowWidth, shell.screen.windowHeight));
        shell.changeFrameSize(governor->size());
    }
    if (options.stats) stats.emplace(targetMs);
    shell.keepStartState();
    shell.startMusic(options);
    std::printf("Initialization finished in %.2f seconds! \n", (tickCount() - shell.creationTick) * 0.001);
    shell.clock.lastTickTime = static_cast<int>(tickCount() - shell.clock.tickBase);
    lastTime = options.startOffset;
    return true;
}

// A section jump, or the loop going round, starts the show over there: scenes and director as
// they were loaded, so the section plays as it does when started there (a seek would run every
// scene's clock back by the whole jump).
void Player::startOverAt(int ms) {
    shell.startOver();
    shell.clock.jumpTo(ms, tickCount());
    if (governor) governor->restartWindow(); // the jump's frame is no measure of the size
}

void Player::followWindowSize(int width, int height) {
    setFrameProjection(shell.screen, width, height);
    if (!governor) return;
    governor->setCeiling(ceilingFor(shell.screen.windowWidth, shell.screen.windowHeight));
    governor->restartWindow();
}

void Player::pressKey(Key key, unsigned now) {
    std::optional<int> to;
    switch (key) {
    case Key::PageDown:
        to = sectionJump(SectionKey::Next, lastTime, range);
        break;
    case Key::PageUp:
        to = sectionJump(SectionKey::Previous, lastTime, range);
        break;
    case Key::Home:
        to = sectionJump(SectionKey::First, lastTime, range);
        break;
    case Key::Fullscreen:
        setGlWindowFullscreen(shell.window, !shell.window.fullscreen);
        return;
    default:
        if (shell.clock.pressKey(key, now)) shell.quitRequested = true;
        return;
    }
    if (to) startOverAt(*to);
}

void Player::takeEvent(const WindowEvent& event) {
    switch (event.type) {
    case WindowEvent::Type::Quit:
        quitRetrieved = true;
        break; // this frame still completes
    case WindowEvent::Type::KeyDown:
        pressKey(event.key, tickCount());
        break;
    case WindowEvent::Type::Resize:
        followWindowSize(event.width, event.height);
        break;
    case WindowEvent::Type::Hidden:
        hidden_ = true;
        break;
    case WindowEvent::Type::Shown:
        if (hidden_ && governor) governor->restartWindow(); // the first frame back is no measure
        hidden_ = false;
        break;
    case WindowEvent::Type::None:
        break;
    }
}

bool Player::step() {
    const double start = monotonicSeconds();
    const double shownMs = frameShown_ ? (start - frameStart_) * 1000.0 : 0.0;
    if (frameShown_ && stats) stats->add(lastTime, frameSize_, shownMs);

    WindowEvent event;
    if (hidden_ ? waitWindowEvent(shell.window, event, kUnseenWaitMs) : pollWindowEvent(shell.window, event))
        takeEvent(event);
    int t = shell.clock.read(tickCount());
    if (const std::optional<int> to = range.wrap(t)) {
        startOverAt(*to);
        t = shell.clock.read(tickCount());
    }
    if (clockRead) clockRead(t);
    lastTime = t;
    if (!hidden_) {
        drawFrame(t, start, shownMs);
    } else {
        // Nothing can be seen: no frame is drawn, while the clock and the music go on.
        frameShown_ = false;
        if (t >= timetable::kShowEnd) shell.quitRequested = true;
    }
    return !quitRetrieved && !shell.quitRequested && !interruptSignal();
}

void Player::drawFrame(int t, double start, double shownMs) {
    frameSize_ = shell.screen.frameWidth;
    shell.renderFrame(t);
    if (governor) finishFrame(); // the drawing's cost, without the wait for the display
    const double busyMs = (monotonicSeconds() - start) * 1000.0;
    swapGlWindow(shell.window);

    if (governor && frameShown_) {
        const int size = governor->frameDone(busyMs, shownMs);
        if (size != shell.screen.frameWidth && !shell.changeFrameSize(size)) {
            std::fprintf(stderr, "castrelle: cannot render a %d x %d frame; staying at %d\n", size, size,
                         frameSize_);
            shell.changeFrameSize(frameSize_);
            governor.reset();
        }
    }
    frameStart_ = start;
    frameShown_ = true;
}

int Player::finish() {
    shell.shutDown();
    if (stats) {
        const std::string choice = governor ? "adaptive, " + std::to_string(kFrameSizes[0]) + " to " +
                                                  std::to_string(governor->ceiling())
                                            : "pinned at " + std::to_string(frameSize_);
        stats->print(stdout, choice.c_str());
    }
    if (interruptSignal()) return interruptExitStatus();
    return startupFailed() || shell.glError != 0 ? 1 : 0;
}

int runDemo(const Options& options) {
    try {
        Player player;
        int status = 0;
        if (!player.startUp(options, status)) return status;
        deferInterrupts();
        while (player.step()) {
        }
        return player.finish();
    } catch (const std::bad_alloc&) {
        return reportOutOfMemory();
    }
}
