#!/usr/bin/env python3
"""Frames of the web page (headless Chromium, ?shot=MS1,MS2,... at 60 fixed steps a second)
against the native shader renderer's frames at the same times, with their PSNR. Slow: both
render the show from its start up to the last time (SwiftShader draws a few frames a second).

    tests/web/compare_frames.py --web build-web --native build/castrelle --data build/data \\
        --out /tmp/frames 5000,45000,...

Writes web_MS.png and native_MS.png to --out and prints one line per time."""

import argparse
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser, PageServer, psnr  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--web", required=True)
    parser.add_argument("--native", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--skip-native", action="store_true", help="reuse native_MS.png already in --out")
    parser.add_argument("times", help="comma-separated demo times in ms")
    args = parser.parse_args()
    times = sorted(int(t) for t in args.times.split(","))
    os.makedirs(args.out, exist_ok=True)

    began = time.monotonic()
    with PageServer(args.web) as server, Browser() as browser:
        browser.open(server.url + "index.html?shot=" + ",".join(map(str, times)))
        for ms in times:
            browser.wait_for_console("shot %d ready" % ms, timeout=6 * 3600)
            with open(os.path.join(args.out, "web_%06d.png" % ms), "wb") as f:
                f.write(browser.screenshot())
            print("web %d ms at %.0f s" % (ms, time.monotonic() - began), flush=True)
            browser.evaluate("Module._castrelleNextShot()")
        errors = browser.errors()
    if errors:
        print("console errors: %s" % errors)

    if not args.skip_native:
        began = time.monotonic()
        subprocess.run([args.native, "--renderer", "shader", "--shot", ",".join(map(str, times)), "--fps", "60",
                        "--out", args.out, "--data", args.data], check=True, stdout=subprocess.DEVNULL,
                       env=dict(os.environ, SDL_AUDIODRIVER="dummy"))
        for ms in times:
            os.replace(os.path.join(args.out, "shot_%06d.png" % ms), os.path.join(args.out, "native_%06d.png" % ms))
        print("native frames in %.0f s" % (time.monotonic() - began), flush=True)

    for ms in times:
        with open(os.path.join(args.out, "web_%06d.png" % ms), "rb") as w, \
                open(os.path.join(args.out, "native_%06d.png" % ms), "rb") as n:
            print("%7d ms  %6.1f dB" % (ms, psnr(w.read(), n.read())), flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
