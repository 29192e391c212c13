// The section keys' targets and the loop's wrap.
#include "app/PlayRange.h"

#include <gtest/gtest.h>

namespace {

using timetable::kShowEnd;
using timetable::Section;
using timetable::sectionStart;

TEST(SectionJump, NextAndPreviousGoToSectionStarts) {
    const PlayRange show;
    EXPECT_EQ(sectionJump(SectionKey::Next, 0, show), sectionStart(Section::Swarm));
    EXPECT_EQ(sectionJump(SectionKey::Next, sectionStart(Section::Swarm), show), sectionStart(Section::StarBall));
    EXPECT_EQ(sectionJump(SectionKey::Previous, 170000, show), sectionStart(Section::StarBallAgain));
    // From a section's very start, Previous goes to the one before, not to where it is.
    EXPECT_EQ(sectionJump(SectionKey::Previous, sectionStart(Section::Cave), show), sectionStart(Section::StarBallAgain));
    EXPECT_EQ(sectionJump(SectionKey::Previous, 3000, show), 0);
    EXPECT_EQ(sectionJump(SectionKey::First, 200000, show), 0);
    // Past the last section there is nowhere to go but the end, which would quit.
    EXPECT_EQ(sectionJump(SectionKey::Next, 250000, show), std::nullopt);
}

TEST(SectionJump, ALoopedSectionKeepsTheKeysInsideIt) {
    const PlayRange starBall2{sectionStart(Section::StarBallAgain), sectionStart(Section::Cave), true};
    EXPECT_EQ(sectionJump(SectionKey::Next, 160000, starBall2), sectionStart(Section::StarBallAgain));
    EXPECT_EQ(sectionJump(SectionKey::Previous, 160000, starBall2), sectionStart(Section::StarBallAgain));
    EXPECT_EQ(sectionJump(SectionKey::First, 160000, starBall2), sectionStart(Section::StarBallAgain));
    const PlayRange loopedShow{0, kShowEnd, true};
    EXPECT_EQ(sectionJump(SectionKey::Next, 250000, loopedShow), 0);
}

TEST(PlayRange, ALoopWrapsOnceTheTimeLeavesIt) {
    const PlayRange loopedShow{0, kShowEnd, true};
    EXPECT_EQ(loopedShow.wrap(kShowEnd), 0);
    EXPECT_EQ(loopedShow.wrap(kShowEnd - 1), std::nullopt);
    EXPECT_EQ(PlayRange{}.wrap(kShowEnd), std::nullopt); // played once: the director ends the show
    const PlayRange cave{sectionStart(Section::Cave), sectionStart(Section::Potko), true};
    EXPECT_EQ(cave.wrap(sectionStart(Section::Potko) + 40), sectionStart(Section::Cave));
    EXPECT_EQ(cave.wrap(sectionStart(Section::Cave) - 500), sectionStart(Section::Cave)); // seeked back out of it
    EXPECT_EQ(cave.wrap(200000), std::nullopt);
}

} // namespace
