#pragma once
// The title's words in music time: which part the title scene shows, and from when and over how
// long it crossfades into the next part. Part -1 is the opening without a word. The director
// plays these crossfades; the title scene bends its word in step with them. GL-free.

namespace timetable {

struct TitleWord {
    int part;        // -1 (no word) or 0..3
    int nextPart;    // what the crossfade leads into
    int crossStart;  // ms
    int crossLength; // ms
    constexpr int crossEnd() const { return crossStart + crossLength; }
};

inline constexpr TitleWord kTitleWords[] = {
    {-1, 0, 4800, 6000},
    {0, 1, 12400, 6000},
    {1, 3, 21000, 8500},
    // The last word crossfades into itself while the title streaks to black; the swarm cuts in
    // before the crossfade would end.
    {3, 3, 40000, 3500},
};
inline constexpr int kTitleWordCount = 4;

// Which row plays at t: the last one whose predecessors' crossfades have all ended.
constexpr int titleWordAt(int t) {
    int j = 0;
    while (j < kTitleWordCount - 1 && t > kTitleWords[j].crossEnd()) ++j;
    return j;
}

} // namespace timetable
