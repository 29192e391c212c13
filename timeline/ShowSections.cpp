#include "timeline/ShowSections.h"

#include "timeline/Director.h"
#include "timeline/ShowTimetable.h"

#include <array>
#include <string>

namespace {

constexpr std::array kStarts = {0,
                                timetable::kSwarmStart,
                                timetable::kStarBallStart,
                                timetable::kWhiteOutStart,
                                timetable::kHipuStart,
                                timetable::kDuckStart,
                                timetable::kStarBallAgainStart,
                                timetable::kCaveStart,
                                timetable::kPotkoStart,
                                timetable::kClosingStart};

// Spaces, hyphens and underscores count alike, so "star-ball-2" finds "star ball 2" unquoted.
bool sameName(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return c == '-' || c == '_' ? ' ' : c; };
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

} // namespace

std::span<const ShowSection> showSections() {
    // Names as the director reports them, so the benchmark's table and --section agree.
    static const auto table = [] {
        std::array<ShowSection, kStarts.size()> sections{};
        for (size_t i = 0; i < kStarts.size(); ++i) {
            const int end = i + 1 < kStarts.size() ? kStarts[i + 1] : timetable::kShowEnd;
            sections[i] = ShowSection{Director::sectionName(kStarts[i]), kStarts[i], end};
        }
        return sections;
    }();
    return table;
}

const ShowSection& sectionAt(int t) {
    const auto sections = showSections();
    size_t i = 0;
    while (i + 1 < sections.size() && t >= sections[i + 1].start) ++i;
    return sections[i];
}

const ShowSection* findSection(std::string_view name) {
    for (const ShowSection& s : showSections())
        if (sameName(name, s.name)) return &s;
    return nullptr;
}

std::string sectionNameList() {
    std::string list;
    for (const ShowSection& s : showSections()) {
        if (!list.empty()) list += ", ";
        list += s.name;
    }
    return list;
}
