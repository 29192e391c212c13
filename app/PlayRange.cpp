#include "app/PlayRange.h"

#include <algorithm>

std::optional<int> PlayRange::wrap(int t) const {
    if (loop && (t < start || t >= end)) return start;
    return std::nullopt;
}

std::optional<int> sectionJump(SectionKey key, int t, const PlayRange& range) {
    switch (key) {
    case SectionKey::First:
        return range.start;
    case SectionKey::Next:
        for (const timetable::SectionRow& s : timetable::kSections)
            if (s.start > t && s.start > range.start && s.start < range.end) return s.start;
        if (range.loop) return range.start;
        return std::nullopt;
    case SectionKey::Previous: {
        using namespace timetable;
        const int current = sectionIndexWithin(t);
        const int previous = current > 0 ? kSections[current - 1].start : 0;
        return std::max(previous, range.start);
    }
    }
    return std::nullopt;
}
