// The section table as the player reads it, the section keys' targets and the loop's wrap.
#include "app/PlayRange.h"
#include "timeline/Director.h"
#include "timeline/ShowSections.h"

#include <gtest/gtest.h>

namespace {

using timetable::kShowEnd;

TEST(ShowSections, CoverTheShowInOrderWithTheDirectorsNames) {
    const auto sections = showSections();
    ASSERT_EQ(sections.size(), 10u);
    EXPECT_EQ(sections.front().start, 0);
    EXPECT_EQ(sections.back().end, kShowEnd);
    for (size_t i = 0; i < sections.size(); ++i) {
        if (i > 0) {
            EXPECT_EQ(sections[i].start, sections[i - 1].end);
        }
        EXPECT_STREQ(sections[i].name, Director::sectionName(sections[i].start));
        EXPECT_STREQ(sections[i].name, Director::sectionName(sections[i].end - 1));
        EXPECT_EQ(&sectionAt(sections[i].end - 1), &sections[i]);
    }
    EXPECT_EQ(findSection("star-ball-2"), findSection("star ball 2"));
    ASSERT_NE(findSection("white-out"), nullptr);
    EXPECT_EQ(findSection("white-out")->start, timetable::kWhiteOutStart);
    EXPECT_EQ(findSection("star ball 3"), nullptr);
    EXPECT_EQ(findSection(""), nullptr);
}

TEST(SectionJump, NextAndPreviousGoToSectionStarts) {
    const PlayRange show;
    EXPECT_EQ(sectionJump(SectionKey::Next, 0, show), timetable::kSwarmStart);
    EXPECT_EQ(sectionJump(SectionKey::Next, timetable::kSwarmStart, show), timetable::kStarBallStart);
    EXPECT_EQ(sectionJump(SectionKey::Previous, 170000, show), timetable::kStarBallAgainStart);
    // From a section's very start, Previous goes to the one before, not to where it is.
    EXPECT_EQ(sectionJump(SectionKey::Previous, timetable::kCaveStart, show), timetable::kStarBallAgainStart);
    EXPECT_EQ(sectionJump(SectionKey::Previous, 3000, show), 0);
    EXPECT_EQ(sectionJump(SectionKey::First, 200000, show), 0);
    // Past the last section there is nowhere to go but the end, which would quit.
    EXPECT_EQ(sectionJump(SectionKey::Next, 250000, show), std::nullopt);
}

TEST(SectionJump, ALoopedSectionKeepsTheKeysInsideIt) {
    const PlayRange starBall2{timetable::kStarBallAgainStart, timetable::kCaveStart, true};
    EXPECT_EQ(sectionJump(SectionKey::Next, 160000, starBall2), timetable::kStarBallAgainStart);
    EXPECT_EQ(sectionJump(SectionKey::Previous, 160000, starBall2), timetable::kStarBallAgainStart);
    EXPECT_EQ(sectionJump(SectionKey::First, 160000, starBall2), timetable::kStarBallAgainStart);
    const PlayRange loopedShow{0, kShowEnd, true};
    EXPECT_EQ(sectionJump(SectionKey::Next, 250000, loopedShow), 0);
}

TEST(PlayRange, ALoopWrapsOnceTheTimeLeavesIt) {
    const PlayRange loopedShow{0, kShowEnd, true};
    EXPECT_EQ(loopedShow.wrap(kShowEnd), 0);
    EXPECT_EQ(loopedShow.wrap(kShowEnd - 1), std::nullopt);
    EXPECT_EQ(PlayRange{}.wrap(kShowEnd), std::nullopt); // played once: the director ends the show
    const PlayRange cave{timetable::kCaveStart, timetable::kPotkoStart, true};
    EXPECT_EQ(cave.wrap(timetable::kPotkoStart + 40), timetable::kCaveStart);
    EXPECT_EQ(cave.wrap(timetable::kCaveStart - 500), timetable::kCaveStart); // seeked back out of it
    EXPECT_EQ(cave.wrap(200000), std::nullopt);
}

} // namespace
