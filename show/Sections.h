#pragma once
// The show's sections in playing order: where each starts in music time (ms) and the name the
// timing report prints for it. Each runs until the next one starts, the last until kShowEnd.
// A new section is one more row here and its composition in the director.
//
// Plain constants and look-ups, no GL: the one table the director, the player's section keys and
// report, the capture report, the command line and the soundtrack generator all read.

#include <iterator>
#include <string>
#include <string_view>

namespace timetable {

// The show ends, and the program quits, here.
inline constexpr int kShowEnd = 286500;

enum class Section { Title, Swarm, StarBall, WhiteOut, Hipu, Duck, StarBallAgain, Cave, Potko, Closing };

struct SectionRow {
    Section id;
    const char* name; // as the timing report prints it
    int start;        // ms of music time
};

inline constexpr SectionRow kSections[] = {
    {Section::Title, "title", 0},
    {Section::Swarm, "swarm", 41800},
    {Section::StarBall, "star ball", 70000},
    {Section::WhiteOut, "white-out", 86000},
    {Section::Hipu, "hipu", 97300},
    {Section::Duck, "duck", 126000},
    {Section::StarBallAgain, "star ball 2", 157000},
    {Section::Cave, "cave", 164000},
    {Section::Potko, "potko", 220000},
    {Section::Closing, "closing", 246000},
};
inline constexpr int kSectionCount = static_cast<int>(std::size(kSections));

// What the report calls the time past the end.
inline constexpr const char* kAfterShowName = "end";

constexpr int sectionStart(Section s) { return kSections[static_cast<int>(s)].start; }

// Where section i ends: where the next one starts, or the show's end.
constexpr int sectionEnd(int i) { return i + 1 < kSectionCount ? kSections[i + 1].start : kShowEnd; }

// The index of the section playing at t: 0 for any t before the second section (times below 0
// included), kSectionCount from kShowEnd on.
constexpr int sectionIndexAt(int t) {
    int i = 0;
    while (i < kSectionCount && t >= sectionEnd(i)) ++i;
    return i;
}

// The same, with the time past the end counted to the last section (live play may show a frame
// there before it quits).
constexpr int sectionIndexWithin(int t) {
    const int i = sectionIndexAt(t);
    return i < kSectionCount ? i : kSectionCount - 1;
}

constexpr const char* sectionNameAt(int t) {
    const int i = sectionIndexAt(t);
    return i < kSectionCount ? kSections[i].name : kAfterShowName;
}

// The index of the section called `name`, or -1. Spaces, hyphens and underscores count alike, so
// "star-ball-2" on a command line finds "star ball 2"; names match whole, not by a prefix.
constexpr int sectionNamed(std::string_view name) {
    const auto fold = [](char c) { return c == '-' || c == '_' ? ' ' : c; };
    for (int i = 0; i < kSectionCount; ++i) {
        const std::string_view row = kSections[i].name;
        bool same = row.size() == name.size();
        for (size_t k = 0; same && k < row.size(); ++k) same = fold(row[k]) == fold(name[k]);
        if (same) return i;
    }
    return -1;
}

// "title, swarm, ...": the names, for messages.
inline std::string sectionNameList() {
    std::string list;
    for (const SectionRow& row : kSections) {
        if (!list.empty()) list += ", ";
        list += row.name;
    }
    return list;
}

namespace detail {
constexpr bool rowsInPlayingOrder() {
    for (int i = 0; i < kSectionCount; ++i) {
        if (static_cast<int>(kSections[i].id) != i) return false;
        if (kSections[i].start >= sectionEnd(i)) return false;
    }
    return kSections[0].start == 0;
}
} // namespace detail
static_assert(detail::rowsInPlayingOrder(), "sections follow their ids, start at 0 and only move forward");

} // namespace timetable
