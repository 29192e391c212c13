#!/usr/bin/env python3
"""The show's web page in headless Chromium: a frame of the fixed-step mode against the native
shader renderer's frame at the same time, a few seconds of real-time play on the music's clock
with the keys, and the page's messages when WebGL 2 or the data is missing.

    tests/web/web_test.py --web build-web --native build/castrelle --data build/data

Chromium exits 0 whatever the page did, so every check reads what the page itself reports."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser, PageServer, psnr  # noqa: E402

# Early in the title, where its glow and texture are on screen: 42 fixed steps.
SHOT_MS = 700
MIN_PSNR_DB = 35.0
PLAY_SECONDS = 5.0  # --play-seconds
SWARM_MS = 41800  # where the second section starts


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def native_shot(native, data, ms, out_dir):
    env = dict(os.environ, SDL_AUDIODRIVER="dummy")
    subprocess.run([native, "--renderer", "shader", "--shot", str(ms), "--fps", "60", "--out", out_dir,
                    "--data", data], check=True, env=env, stdout=subprocess.DEVNULL)
    with open(os.path.join(out_dir, "shot_%06d.png" % ms), "rb") as f:
        return f.read()


def test_shot(server, native, data):
    with Browser() as browser:
        browser.open(server.url + "index.html?shot=%d" % SHOT_MS)
        browser.wait_for_console("shot %d ready" % SHOT_MS, timeout=300)
        page = browser.screenshot()
        check(not browser.errors(), "console errors: %s" % browser.errors())
    with tempfile.TemporaryDirectory() as out:
        reference = native_shot(native, data, SHOT_MS, out)
    db = psnr(page, reference)
    print("  the page's frame at %d ms against the native shader renderer's: %.1f dB" % (SHOT_MS, db))
    check(db >= MIN_PSNR_DB, "%.1f dB is below %.0f dB" % (db, MIN_PSNR_DB))


def sample(browser):
    return browser.evaluate(
        "({now: performance.now(), audio: document.getElementById('music').currentTime * 1000,"
        " demo: castrellePage.demoTime, frames: castrellePage.frames, ended: castrellePage.ended,"
        " paused: document.getElementById('music').paused})")


def open_ready(browser, server):
    """Opens the page and waits until it offers its start button (or says why it cannot)."""
    browser.open(server.url + "index.html")
    deadline = time.monotonic() + 120
    while not browser.evaluate("!!window.castrellePage && (castrellePage.readyMs !== null || castrellePage.failed)"):
        check(time.monotonic() < deadline, "the page did not get ready")
        time.sleep(0.5)


def clock_report(browser):
    """How the demo clock moved from frame to frame against the page's own clock."""
    recent = browser.evaluate("castrellePage.recent")
    steps = [(b[0] - a[0], b[1] - a[1]) for a, b in zip(recent, recent[1:]) if b[1] >= a[1] > 0]
    if len(steps) < 2:
        return
    wall = [w for w, _ in steps]
    slips = [d - w for w, d in steps]
    print("  %d frames: %.1f fps, frame interval %.0f ms (longest %.0f); demo clock step minus page clock step: "
          "mean %+.1f ms, largest %+.0f / %+.0f ms" %
          (len(steps) + 1, 1000 * len(steps) / sum(wall), sum(wall) / len(wall), max(wall),
           sum(slips) / len(slips), min(slips), max(slips)))


def test_play(server, seconds):
    with Browser() as browser:
        open_ready(browser, server)
        check(not browser.evaluate("castrellePage.failed"), "the page failed: %s" % browser.page_message())
        check(browser.evaluate("!document.getElementById('start').hidden"), "no start button")
        browser.evaluate("document.getElementById('start').click()")

        samples = []
        start = time.monotonic()
        while time.monotonic() - start < seconds:
            time.sleep(0.5)
            samples.append(sample(browser))
        first, last = samples[0], samples[-1]
        wall = last["now"] - first["now"]
        print("  %.1f s played: %d frames, demo clock %d -> %d ms, music %d -> %d ms" %
              (wall / 1000, last["frames"], first["demo"], last["demo"], first["audio"], last["audio"]))
        check(last["frames"] >= 3, "only %d frames drawn" % last["frames"])
        check(abs((last["audio"] - first["audio"]) - wall) < 0.1 * wall + 200,
              "the music advanced %d ms in %d ms" % (last["audio"] - first["audio"], wall))
        demos = [s["demo"] for s in samples]
        check(demos == sorted(demos), "the demo clock went back: %s" % demos)
        # Each frame reads the music's position: the clock is never ahead of it, nor more than a
        # slow software-rendered frame behind.
        for s in samples[2:]:
            check(0 <= s["audio"] - s["demo"] <= 1500, "demo clock %d against music %d" % (s["demo"], s["audio"]))
        clock_report(browser)

        # The canvas follows the window; F shows the stage fullscreen.
        browser.page("Emulation.setDeviceMetricsOverride", width=1000, height=500, deviceScaleFactor=1, mobile=False)
        time.sleep(1.0)
        size = browser.evaluate("[document.getElementById('canvas').width, document.getElementById('canvas').height]")
        check(size == [1000, 500], "the canvas is %s in a 1000 x 500 window" % size)
        press(browser, "f")
        time.sleep(1.0)
        check(browser.evaluate("(document.fullscreenElement || {}).id") == "stage", "F did not go fullscreen")

        # The native player's keys: Up seeks a second on, Page Down jumps a section, F9 pauses,
        # Escape ends the show.
        before = sample(browser)
        press(browser, "ArrowUp")
        time.sleep(1.0)
        after = sample(browser)
        moved = after["demo"] - before["demo"]
        check(1000 <= moved <= 1000 + (after["now"] - before["now"]) + 1500, "Up moved the clock %d ms" % moved)
        # Page Down starts the next section (the swarm, at 41.8 s) as the native player does.
        press(browser, "PageDown")
        time.sleep(1.0)
        jumped = sample(browser)
        check(SWARM_MS <= jumped["demo"] <= SWARM_MS + 2500, "Page Down went to %d ms" % jumped["demo"])
        press(browser, "F9")
        time.sleep(1.5)
        paused = sample(browser)
        time.sleep(1.5)
        still = sample(browser)
        check(paused["paused"] and still["demo"] == paused["demo"], "F9 did not hold the clock")
        # In fullscreen the browser takes the first Escape to leave it; the next ends the show.
        press(browser, "Escape")
        time.sleep(1.0)
        check(browser.evaluate("document.fullscreenElement === null"), "Escape did not leave fullscreen")
        check(not sample(browser)["ended"], "the Escape that left fullscreen also ended the show")
        press(browser, "Escape")
        time.sleep(1.0)
        check(sample(browser)["ended"], "Escape did not end the show")
        check(browser.evaluate("!document.getElementById('again').hidden"), "no way to play again")
        check(not browser.errors(), "console errors: %s" % browser.errors())
        print("  start-up: ready %.1f s after the page opened; first frame %.0f ms after the start button" %
              (browser.evaluate("castrellePage.readyMs") / 1000,
               browser.evaluate("castrellePage.firstFrameMs - castrellePage.startMs")))


def press(browser, key):
    codes = {"ArrowUp": 38, "PageDown": 34, "F9": 120, "Escape": 27, "f": 70}
    for kind in ("rawKeyDown", "keyUp"):
        browser.page("Input.dispatchKeyEvent", type=kind, key=key, code=key if len(key) > 1 else "Key" + key.upper(),
                     windowsVirtualKeyCode=codes[key], nativeVirtualKeyCode=codes[key])


def expect_message(url, caption, flags=()):
    with Browser(extra_flags=flags) as browser:
        browser.open(url)
        deadline = time.monotonic() + 60
        while not browser.evaluate("!!(window.castrellePage && castrellePage.failed)"):
            check(time.monotonic() < deadline, "no message on the page (expected '%s')" % caption)
            time.sleep(0.3)
        message = browser.page_message()
        print("  " + message)
        check(message.startswith(caption), "the page says '%s'" % message)


def test_context_loss(server):
    with Browser() as browser:
        open_ready(browser, server)
        browser.evaluate("document.getElementById('start').click()")
        # At once, while the music is still starting: the show's end then interrupts its start.
        browser.evaluate("document.getElementById('canvas').getContext('webgl2')"
                         ".getExtension('WEBGL_lose_context').loseContext()")
        time.sleep(1.0)
        check(browser.evaluate("castrellePage.failed && castrellePage.ended"), "a lost context went unsaid")
        message = browser.page_message()
        print("  " + message)
        # Ending the show pauses the music, which may still be starting: the page must keep the cause.
        check(message.startswith("WebGL:"), "the page says '%s'" % message)


def test_failures(web):
    with PageServer(web) as server:
        expect_message(server.url + "index.html", "WebGL 2", flags=["--disable-webgl2"])
    with tempfile.TemporaryDirectory() as bare:
        for name in ("index.html", "castrelle.js", "castrelle.wasm"):
            shutil.copy(os.path.join(web, name), bare)
        with PageServer(bare) as server:
            expect_message(server.url + "index.html", "Download failed")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--web", required=True, help="the web build's folder")
    parser.add_argument("--native", required=True, help="the native castrelle program")
    parser.add_argument("--data", required=True, help="the native build's data folder")
    parser.add_argument("--play-seconds", type=float, default=PLAY_SECONDS, help="real-time play to watch")
    args = parser.parse_args()

    tests = [("the frame of ?shot=%d" % SHOT_MS, lambda s: test_shot(s, args.native, args.data)),
             ("real-time play on the music's clock, with the keys", lambda s: test_play(s, args.play_seconds)),
             ("messages for a browser without WebGL 2 and for missing data", lambda s: test_failures(args.web)),
             ("a message when the browser takes the WebGL context away", test_context_loss)]
    passed = failed = 0
    with PageServer(args.web) as server:
        for name, run in tests:
            print("web: " + name)
            began = time.monotonic()
            try:
                run(server)
                passed += 1
                print("  passed (%.0f s)" % (time.monotonic() - began))
            except (Failure, RuntimeError, subprocess.CalledProcessError) as e:
                failed += 1
                print("  FAILED: %s" % e)
    print("%d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
