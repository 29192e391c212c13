#include "app/DemoClock.h"

#include "platform/MusicStream.h"

int DemoClock::read(unsigned now) {
    if (musicEnabled) {
        if (seekPending) {
            music->setPosition(startOffset);
            seekPending = false;
        }
        // Paused: the stream is held at the captured position every frame.
        if (paused) music->setPosition(pausedPosition);
        return music->position();
    }
    if (paused) tickBase = now - static_cast<unsigned>(lastTickTime);
    const int time = static_cast<int>(now - tickBase);
    lastTickTime = time;
    return time;
}

void DemoClock::jumpTo(int ms, unsigned now) {
    if (musicEnabled) {
        seekPending = false; // a jump before the first frame wins over the start offset
        music->setPosition(ms);
        pausedPosition = ms;
        return;
    }
    tickBase = now - static_cast<unsigned>(ms);
    lastTickTime = ms;
}

namespace {

int atLeastZero(int ms) { return ms < 0 ? 0 : ms; }

} // namespace

bool DemoClock::pressKey(Key key, unsigned now) {
    switch (key) {
    case Key::Escape: return true;
    case Key::F9:
        paused = !paused;
        if (paused && musicEnabled) pausedPosition = music->position();
        if (musicEnabled) music->setMuted(paused);
        return false;
    case Key::Other: return false;
    default: break;
    }
    if (musicEnabled) {
        const int pos = music->position();
        switch (key) {
        case Key::Left: music->setPosition(atLeastZero(pos - 100)); break;
        case Key::Right: music->setPosition(pos + 100); break;
        case Key::Up: music->setPosition(pos + 1000); break;
        case Key::Down: music->setPosition(atLeastZero(pos - 1000)); break;
        default: break;
        }
        return false;
    }
    // Tick mode: steps back only while the demo time exceeds the step, so it never goes below 0.
    switch (key) {
    case Key::Left:
        if (now - tickBase > 200u) tickBase += 200;
        break;
    case Key::Right: tickBase -= 100; break;
    case Key::Up: tickBase -= 1000; break;
    case Key::Down:
        if (now - tickBase > 1000u) tickBase += 1000;
        break;
    default: break;
    }
    return false;
}
