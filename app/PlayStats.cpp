#include "app/PlayStats.h"

#include "render/FrameSize.h"
#include "show/Sections.h"

#include <string>

namespace {

// Shown past one and a half display frames: at least one refresh went by without a new frame.
constexpr double kLateShare = 1.5;

void printRow(std::FILE* out, const char* name, const PlayStats::Row& r) {
    std::string sizes; // largest first, with their share of the frames
    for (size_t i = r.sizes.size(); i-- > 0;) {
        if (r.sizes[i] == 0) continue;
        char part[32];
        std::snprintf(part, sizeof part, "%s%d %.0f%%", sizes.empty() ? "" : ", ", kFrameSizes[i],
                      100.0 * static_cast<double>(r.sizes[i]) / static_cast<double>(r.frames));
        sizes += part;
    }
    std::fprintf(out, "%-12s %8.1f %7lld %7.1f %5.0f%%  %s\n", name, r.seconds, r.frames, r.fps(),
                 100.0 * static_cast<double>(r.late) / static_cast<double>(r.frames), sizes.c_str());
}

} // namespace

PlayStats::PlayStats(double targetMs) : targetMs_(targetMs), rows_(timetable::kSectionCount) {}

void PlayStats::add(int t, int frameSize, double shownMs) {
    Row& row = rows_[static_cast<size_t>(timetable::sectionIndexWithin(t))];
    ++row.frames;
    row.seconds += shownMs * 0.001;
    if (shownMs > kLateShare * targetMs_) ++row.late;
    for (size_t i = 0; i < row.sizes.size(); ++i)
        if (kFrameSizes[i] == frameSize) ++row.sizes[i];
}

void PlayStats::print(std::FILE* out, const char* sizeChoice) const {
    std::fprintf(out, "\nlive play: target %.1f fps, frame size %s\n", 1000.0 / targetMs_, sizeChoice);
    std::fprintf(out, "%-12s %8s %7s %7s %6s  %s\n", "section", "seconds", "frames", "fps", "late",
                 "frame sizes");
    Row all;
    for (size_t s = 0; s < rows_.size(); ++s) {
        const Row& row = rows_[s];
        if (row.frames == 0) continue;
        printRow(out, timetable::kSections[s].name, row);
        all.frames += row.frames;
        all.seconds += row.seconds;
        all.late += row.late;
        for (size_t i = 0; i < row.sizes.size(); ++i) all.sizes[i] += row.sizes[i];
    }
    if (all.frames > 0) printRow(out, "all", all);
    std::fprintf(out,
                 "(fps: frames shown per second on screen; late: frames shown past %.1f display frames)\n",
                 kLateShare);
}
