#include "captionfit.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A caption keeps its role's font while it fits; otherwise it is narrowed
// before it is made lower, and never past what is still easy to read.
TEST(CaptionFit, NarrowsBeforeLoweringDownToAReadableLeast) {
    const std::vector<CaptionFont> fonts = captionFonts(20);
    ASSERT_FALSE(fonts.empty());
    EXPECT_EQ(fonts.front(), (CaptionFont{20, 100}));
    EXPECT_EQ(fonts[1], (CaptionFont{20, 95}));
    for (std::size_t i = 1; i < fonts.size(); ++i) {
        const CaptionFont a = fonts[i - 1];
        const CaptionFont b = fonts[i];
        EXPECT_TRUE(b.pixels < a.pixels ||
                    (b.pixels == a.pixels && b.widthPercent < a.widthPercent));
        EXPECT_GE(b.widthPercent, 80);
        EXPECT_GE(b.pixels, 14);
    }
    EXPECT_EQ(fonts.back(), (CaptionFont{14, 80}));
}

TEST(CaptionFit, TakesTheFirstFontThatFitsOrElseTheSmallest) {
    int asked = 0;
    const auto fitsWithin = [&](int room) {
        return [&asked, room](CaptionFont f) {
            ++asked;
            return f.pixels * f.widthPercent <= room;
        };
    };
    EXPECT_EQ(fitCaption(10, fitsWithin(1000)), (CaptionFont{10, 100}));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(fitCaption(10, fitsWithin(900)), (CaptionFont{10, 90}));
    EXPECT_EQ(fitCaption(10, fitsWithin(1)), (CaptionFont{7, 80}));
}

// Ink in the room's last pixel column looks cut off.
TEST(CaptionFit, ALineFitsWithTheLastColumnBlank) {
    struct Case {
        PaintedLine line;
        CaptionRoom room;
        bool fits;
    };
    const Case cases[] = {
        {{80, 80, 15}, {81, 17}, true},         {{80, 81, 15}, {81, 17}, false},
        {{82, 79, 15}, {81, 17}, false},        {{80, 80, 18}, {81, 17}, false},
        {{80, 80, 400}, {81, anyHeight}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lineFits(c.line, c.room), c.fits) << c.line.advance << " " << c.line.ink;
}

} // namespace
