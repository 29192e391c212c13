#pragma once
// What the live player plays: the whole show or one section, once or again and again, and where
// the section keys take it. Pure logic over the section table.

#include "show/Sections.h"

#include <optional>

struct PlayRange {
    int start = 0;
    int end = timetable::kShowEnd;
    bool loop = false;

    // Where a looping range sends demo time t: back to its start once t has left the range
    // (played past its end, or seeked out of it); nothing while t is inside or not looping.
    std::optional<int> wrap(int t) const;
};

enum class SectionKey { Next, Previous, First };

// Where a section key takes the show from demo time t: the next section's start, the previous
// one's (from inside the first section of the range, its start), or the range's start. Jumps stay
// inside the range; past its last section Next wraps to the start when looping and does nothing
// otherwise.
std::optional<int> sectionJump(SectionKey key, int t, const PlayRange& range);
