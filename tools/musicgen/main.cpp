// musicgen: renders the show's soundtrack and encodes it to MP3.
//   musicgen --out Music/cq.mp3 [--wav mix.wav] [--from S --to S]
//   musicgen --hits     prints the scene beat grids (section, kind, seconds) for the review tools
//   musicgen --cuts     prints the section cuts (seconds, section) for the review tools
#include "score/SceneGrids.h"
#include "score/Score.h"
#include "synth/Dsp.h"
#include "synth/Mp3Encoder.h"
#include "synth/Song.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

void printHits() {
    for (const score::HitGrid& g : score::allGrids()) {
        for (double t : g.mainHits) std::printf("%s\tmain\t%.4f\n", g.section.c_str(), t);
        for (double t : g.afterBeats) std::printf("%s\tafter\t%.4f\n", g.section.c_str(), t);
    }
}

void printCuts() {
    const struct {
        double at;
        const char* section;
    } cuts[] = {{score::cut::swarm, "swarm"},
                {score::cut::flashes, "flashes"},
                {score::cut::starBall, "star ball"},
                {score::cut::whiteOut, "white-out"},
                {score::cut::hipu, "hipu"},
                {score::cut::duck, "duck"},
                {score::cut::starBallAgain, "boiling ball"},
                {score::cut::cave, "cave"},
                {score::cut::potko, "potko"},
                {score::cut::closing, "closing"},
                {score::cut::fadeStart, "fade"}};
    for (const auto& c : cuts) std::printf("%.3f\t%s\n", c.at, c.section);
}

int usage() {
    std::fprintf(stderr, "usage: musicgen --out FILE.mp3 | --hits | --cuts\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string out;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--hits") == 0) {
            printHits();
            return 0;
        }
        if (std::strcmp(argv[i], "--cuts") == 0) {
            printCuts();
            return 0;
        }
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            out = argv[++i];
        } else {
            return usage();
        }
    }
    if (out.empty()) return usage();
    // Fail before a quarter minute of rendering, not after it.
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(out).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    if (ec) {
        std::fprintf(stderr, "musicgen: cannot create %s: %s\n", parent.c_str(), ec.message().c_str());
        return 1;
    }

    synth::flushDenormals();
    // Wall-clock time is only reported, never fed into the render.
    const auto began = std::chrono::steady_clock::now();
    const synth::Song song = score::composeSoundtrack();
    synth::StereoBuffer mix = synth::renderSong(song);
    const auto rendered = std::chrono::steady_clock::now();
    const synth::MasterReport report = synth::masterMix(mix, synth::MasterSettings{});
    const auto mastered = std::chrono::steady_clock::now();
    const std::vector<uint8_t> mp3 = synth::encodeMp3(mix, synth::Mp3Settings{});
    const auto encoded = std::chrono::steady_clock::now();
    if (mp3.empty() || !synth::writeFile(out, mp3)) {
        std::fprintf(stderr, "musicgen: could not encode or write %s\n", out.c_str());
        return 1;
    }
    auto seconds = [](auto a, auto b) { return std::chrono::duration<double>(b - a).count(); };
    std::printf("musicgen: %s, %.1f s, %.2f LUFS, true peak %.2f dBTP, gain %+.1f dB; "
                "render %.1f s, master %.1f s, encode %.1f s\n",
                out.c_str(), song.length, report.loudness, report.truePeakDb, report.gainDb,
                seconds(began, rendered), seconds(rendered, mastered), seconds(mastered, encoded));
    return 0;
}
