// The section table as the rest of the program looks sections up: by the time playing and by
// the name the reports print (or the command line spells with hyphens).
#include "show/Sections.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace timetable;

TEST(Sections, EveryNameLeadsBackToItsSectionAndItsStartPlaysIt) {
    for (int i = 0; i < kSectionCount; ++i) {
        const SectionRow& row = kSections[i];
        EXPECT_EQ(sectionNamed(row.name), i) << row.name;
        EXPECT_EQ(sectionIndexAt(row.start), i) << row.name;
        EXPECT_EQ(sectionIndexAt(sectionEnd(i) - 1), i) << row.name;
    }
}

TEST(Sections, NamesMatchWholeNotByPrefixWithHyphensForSpaces) {
    EXPECT_EQ(sectionNamed("star ball"), static_cast<int>(Section::StarBall));
    EXPECT_EQ(sectionNamed("star-ball-2"), static_cast<int>(Section::StarBallAgain));
    EXPECT_EQ(sectionNamed("star_ball"), static_cast<int>(Section::StarBall));
    EXPECT_EQ(sectionNamed("white-out"), static_cast<int>(Section::WhiteOut));
    EXPECT_EQ(sectionNamed("star"), -1);
    EXPECT_EQ(sectionNamed("star ball 3"), -1);
    EXPECT_EQ(sectionNamed(""), -1);
}

TEST(Sections, TimesOutsideTheShowFallOnTheEnds) {
    EXPECT_STREQ(sectionNameAt(-5000), "title");
    EXPECT_STREQ(sectionNameAt(kShowEnd - 1), "closing");
    EXPECT_STREQ(sectionNameAt(kShowEnd), kAfterShowName);
    EXPECT_EQ(sectionIndexWithin(kShowEnd + 100), kSectionCount - 1);
    EXPECT_EQ(sectionIndexWithin(-1), 0);
}

} // namespace
