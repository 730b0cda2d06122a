#include "chosencolours.h"
#include "contrast.h"

#include <gtest/gtest.h>

#include <utility>

TEST(Contrast, InstructionsStayWhiteOnTheDesktopUnlessItIsTooLight) {
    EXPECT_NEAR(contrastRatio(whiteColour, classicDesktopColour), 4.77, 0.01);
    const std::pair<Rgb, Rgb> desktopAndText[] = {{classicDesktopColour, whiteColour},
                                                  {whiteColour, blackColour},
                                                  {{192, 192, 192}, blackColour},
                                                  {blackColour, whiteColour}};
    for (const auto& [desktop, text] : desktopAndText)
        EXPECT_TRUE(textOnDesktop(desktop) == text) << int{desktop.red};
}

// Every kind of input: the ordinary choice on each kind of desktop, under a
// light and a dark theme, and Windows' two high contrast schemes, in which
// the desktop's colour is the window's and only the theme's colours read.
TEST(ChosenColours, FollowTheDesktopOrdinarilyAndTheThemeInHighContrast) {
    constexpr Rgb grey = {192, 192, 192};
    constexpr Rgb purple = {55, 0, 110};
    constexpr Rgb cyan = {26, 235, 255};
    constexpr ColourPair pinkMark = {blackColour, invalidAmountColour};
    constexpr SystemPalette light = {classicDesktopColour, whiteColour, blackColour, purple,
                                     whiteColour};
    constexpr SystemPalette dark = {classicDesktopColour, blackColour, whiteColour, cyan,
                                    blackColour};
    const struct {
        const char* look;
        bool highContrast;
        SystemPalette system;
        ChosenColours chosen;
    } cases[] = {
        {"teal", false, light, {{whiteColour, classicDesktopColour}, pinkMark}},
        {"teal, dark theme", false, dark, {{whiteColour, classicDesktopColour}, pinkMark}},
        {"white",
         false,
         {whiteColour, whiteColour, blackColour, purple, whiteColour},
         {{blackColour, whiteColour}, pinkMark}},
        {"light grey",
         false,
         {grey, whiteColour, blackColour, purple, whiteColour},
         {{blackColour, grey}, pinkMark}},
        {"black",
         false,
         {blackColour, blackColour, whiteColour, cyan, blackColour},
         {{whiteColour, blackColour}, pinkMark}},
        {"high contrast white",
         true,
         {whiteColour, whiteColour, blackColour, purple, whiteColour},
         {{blackColour, whiteColour}, {whiteColour, purple}}},
        {"high contrast black",
         true,
         {blackColour, blackColour, whiteColour, cyan, blackColour},
         {{whiteColour, blackColour}, {blackColour, cyan}}},
        // The theme's colours even where the desktop has another.
        {"high contrast over the teal",
         true,
         light,
         {{blackColour, whiteColour}, {whiteColour, purple}}},
    };
    for (const auto& c : cases) {
        const ChosenColours chosen = chooseColours(c.highContrast, c.system);
        EXPECT_TRUE(chosen == c.chosen) << c.look;
        for (const ColourPair& pair : {chosen.instructions, chosen.mark})
            EXPECT_GE(contrastRatio(pair.text, pair.background), readableContrast) << c.look;
    }
}
