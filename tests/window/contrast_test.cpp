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
