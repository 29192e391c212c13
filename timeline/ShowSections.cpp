#include "timeline/ShowSections.h"

#include "show/Sections.h"

#include <array>
#include <string>

namespace {

using timetable::kSectionCount;

// The section table with each row's end written out, built once at compile time.
constexpr std::array<ShowSection, kSectionCount> kShowSections = [] {
    std::array<ShowSection, kSectionCount> sections{};
    for (int i = 0; i < kSectionCount; ++i)
        sections[i] = {timetable::kSections[i].name, timetable::kSections[i].start, timetable::sectionEnd(i)};
    return sections;
}();

// Spaces, hyphens and underscores count alike, so "star-ball-2" finds "star ball 2" unquoted.
bool sameName(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return c == '-' || c == '_' ? ' ' : c; };
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

} // namespace

std::span<const ShowSection> showSections() { return kShowSections; }

const ShowSection& sectionAt(int t) {
    // From the show's end on, the last section.
    const int i = timetable::sectionIndexAt(t);
    return kShowSections[i < kSectionCount ? i : kSectionCount - 1];
}

const ShowSection* findSection(std::string_view name) {
    for (const ShowSection& s : kShowSections)
        if (sameName(name, s.name)) return &s;
    return nullptr;
}

std::string sectionNameList() {
    std::string list;
    for (const ShowSection& s : kShowSections) {
        if (!list.empty()) list += ", ";
        list += s.name;
    }
    return list;
}
