// The browser's side of MusicStream.h: the page's <audio> element plays the soundtrack, read from
// the show's data, and its playback position is the clock. The browser decodes the MP3 and
// chooses the output; autoplay rules let it start only after the viewer pressed the page's
// start button. A file the browser cannot decode is reported on the page by the element's
// error handler.

#include "platform/MusicStream.h"

#include <emscripten/emscripten.h>

namespace {

EM_JS(int, attachMusic, (const char* path), {
    const audio = document.getElementById('music');
    if (!audio) return 0;
    let bytes;
    try {
        bytes = FS.readFile(UTF8ToString(path));
    } catch (e) {
        return 0;
    }
    if (audio.src) URL.revokeObjectURL(audio.src);
    audio.preload = 'auto';
    audio.src = URL.createObjectURL(new Blob([bytes], {type: 'audio/mpeg'}));
    return 1;
});

EM_JS(void, detachMusic, (), {
    const audio = document.getElementById('music');
    if (audio) audio.pause();
});

EM_JS(void, startMusic, (), {
    const audio = document.getElementById('music');
    audio.currentTime = 0;
    const started = audio.play();
    if (started) started.catch(function(e) {
        // The show's own pause (its end, a lost context) interrupts a start still under way: that
        // is no fault of the music, and must not hide what the page already says.
        const page = window.castrellePage;
        if (e.name === 'AbortError' || !page || page.failed) return;
        page.message('Music', 'The music could not start: ' + e.message);
    });
});

EM_JS(int, musicMs, (), {
    return Math.floor(document.getElementById('music').currentTime * 1000);
});

EM_JS(int, musicLengthMs, (), {
    const length = document.getElementById('music').duration;
    return isFinite(length) ? Math.floor(length * 1000) : 0;
});

// Seeks only when the position differs: a seek costs the browser a decoder restart, and a paused
// clock asks for the same position every frame.
EM_JS(void, seekMusic, (int ms), {
    const audio = document.getElementById('music');
    const seconds = Math.max(0, ms) / 1000;
    if (Math.abs(audio.currentTime - seconds) >= 0.0005) audio.currentTime = seconds;
});

EM_JS(void, holdMusic, (int held), {
    const audio = document.getElementById('music');
    audio.muted = !!held;
    if (held) audio.pause();
    else audio.play().catch(function() {});
});

} // namespace

bool MusicStream::open(const char* path, bool) {
    close();
    playing_ = false;
    muted_ = false;
    // The element is the decoder and the device: open while it holds the file.
    device_ = attachMusic(path) ? 1 : 0;
    return device_ != 0;
}

void MusicStream::close() {
    if (device_ == 0) return;
    detachMusic();
    device_ = 0;
    playing_ = false;
}

bool MusicStream::isOpen() const { return device_ != 0; }

bool MusicStream::hasAudioDevice() const { return device_ != 0; }

int MusicStream::lengthMs() const { return device_ != 0 ? musicLengthMs() : 0; }

bool MusicStream::play() {
    if (device_ == 0) return false;
    startMusic();
    playing_ = true;
    return true;
}

int MusicStream::position() const { return device_ != 0 ? musicMs() : 0; }

void MusicStream::setPosition(int ms) {
    if (device_ != 0) seekMusic(ms);
}

void MusicStream::setMuted(bool muted) {
    if (device_ == 0 || muted == muted_) return;
    muted_ = muted;
    holdMusic(muted ? 1 : 0);
}
