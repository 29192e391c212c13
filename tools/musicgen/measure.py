#!/usr/bin/env python3
"""Checks a rendered soundtrack against the show's needs.

usage: measure.py SOUNDTRACK.mp3 MUSICGEN_BINARY [ONSETS.txt]

- sync: for every beat-driven section, the share of main hits with an aubio onset within +-20 ms
  (must be >= 90 %); the hit list comes from `musicgen --hits`.
- loudness: integrated loudness -14 LUFS +-1 and true peak <= -1 dBTP (ffmpeg ebur128).
- no clipped samples, no silence longer than 1 s before 285 s, decoded length 286.5 - 290 s.
Exits non-zero when a check fails.
"""
import array
import re
import subprocess
import sys
import tempfile
import os

TOLERANCE = 0.020
RATE = 44100


def run(cmd):
    return subprocess.run(cmd, check=True, capture_output=True, text=True)


def decode(mp3, wav):
    # ffmpeg honours the LAME tag: encoder delay and padding are dropped (gapless).
    run(["ffmpeg", "-v", "error", "-y", "-i", mp3, "-c:a", "pcm_f32le", wav])
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", mp3, "-f", "f32le", "-ac", "2", "-"],
                         check=True, capture_output=True).stdout
    samples = array.array("f")
    samples.frombytes(raw)
    return samples


def onsets(wav, path):
    if path and os.path.exists(path):
        text = open(path).read()
    else:
        text = run(["aubioonset", "-i", wav]).stdout
        if path:
            open(path, "w").write(text)
    return [float(x) for x in text.split()]


def hits(binary, wanted="main"):
    out = {}
    for line in run([binary, "--hits"]).stdout.splitlines():
        section, kind, t = line.split("\t")
        if kind == wanted:
            out.setdefault(section, []).append(float(t))
    return out


def nearest(sorted_times, t):
    import bisect
    i = bisect.bisect_left(sorted_times, t)
    best = None
    for j in (i - 1, i):
        if 0 <= j < len(sorted_times):
            d = sorted_times[j] - t
            if best is None or abs(d) < abs(best):
                best = d
    return best


def loudness(mp3):
    err = subprocess.run(["ffmpeg", "-nostats", "-i", mp3, "-filter_complex", "ebur128=peak=true", "-f", "null", "-"],
                         capture_output=True, text=True).stderr
    summary = err[err.rfind("Summary:"):]
    integrated = float(re.search(r"I:\s+(-?[\d.]+) LUFS", summary).group(1))
    peak = float(re.search(r"Peak:\s+(-?[\d.inf]+) dBFS", summary).group(1))
    lra = float(re.search(r"LRA:\s+(-?[\d.]+) LU", summary).group(1))
    return integrated, peak, lra


def longest_silence_before(samples, limit_seconds, threshold_db=-60.0):
    window = RATE // 20  # 50 ms
    threshold = (10 ** (threshold_db / 20)) ** 2
    longest = 0.0
    run_start = None
    frames = len(samples) // 2
    last = min(frames, int(limit_seconds * RATE))
    where = 0.0
    for start in range(0, last, window):
        chunk = samples[2 * start: 2 * min(start + window, last)]
        energy = sum(x * x for x in chunk) / max(1, len(chunk))
        t = start / RATE
        if energy < threshold:
            if run_start is None:
                run_start = t
            if t + window / RATE - run_start > longest:
                longest = t + window / RATE - run_start
                where = run_start
        else:
            run_start = None
    return longest, where


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    mp3, binary = sys.argv[1], sys.argv[2]
    onset_path = sys.argv[3] if len(sys.argv) > 3 else None
    ok = True
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "decoded.wav")
        samples = decode(mp3, wav)
        found = sorted(onsets(wav, onset_path))

    length = len(samples) / 2 / RATE
    print(f"decoded length: {length:.3f} s (needs 286.5 - 290)")
    ok &= 286.5 <= length <= 290.0

    print(f"aubio onsets: {len(found)}")
    print("sync (main hits with an onset within +-20 ms):")
    for section, times in hits(binary).items():
        offsets = [nearest(found, t) for t in times]
        good = [d for d in offsets if d is not None and abs(d) <= TOLERANCE]
        share = len(good) / len(times)
        mean = sum(good) / len(good) * 1000 if good else float("nan")
        worst = max(abs(d) for d in offsets if d is not None) * 1000
        print(f"  {section:12s} {len(good):3d}/{len(times):3d} = {share * 100:5.1f} %  "
              f"mean offset {mean:+5.1f} ms  worst {worst:6.1f} ms")
        ok &= share >= 0.9

    print("after-beats (lighter, for information):")
    for section, times in hits(binary, "after").items():
        good = [d for d in (nearest(found, t) for t in times) if d is not None and abs(d) <= TOLERANCE]
        print(f"  {section:12s} {len(good):3d}/{len(times):3d} = {len(good) / len(times) * 100:5.1f} %")

    integrated, peak, lra = loudness(mp3)
    print(f"integrated loudness: {integrated:.1f} LUFS (needs -14 +-1), loudness range {lra:.1f} LU")
    print(f"true peak: {peak:.2f} dBTP (needs <= -1)")
    ok &= abs(integrated + 14.0) <= 1.0 and peak <= -1.0

    clipped = sum(1 for x in samples if x >= 1.0 or x <= -1.0)
    print(f"sample peak: {max(max(samples), -min(samples)):.4f}, clipped samples: {clipped}")
    ok &= clipped == 0

    silence, where = longest_silence_before(samples, 285.0)
    print(f"longest silence (< -60 dBFS) before 285 s: {silence:.2f} s at {where:.2f} s (needs <= 1)")
    ok &= silence <= 1.0

    print("PASS" if ok else "FAIL")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
