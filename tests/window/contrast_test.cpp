#include "contrast.h"

#include <gtest/gtest.h>

namespace {

struct DesktopCase {
    Rgb desktop;
    Rgb text;
};

TEST(Contrast, InstructionsStayWhiteOnTheDesktopUnlessItIsTooLight) {
    EXPECT_NEAR(contrastRatio(whiteColour, classicDesktopColour), 4.77, 0.01);
    const DesktopCase cases[] = {{classicDesktopColour, whiteColour},
                                 {whiteColour, blackColour},
                                 {{192, 192, 192}, blackColour},
                                 {blackColour, whiteColour}};
    for (const auto& [desktop, text] : cases) {
        EXPECT_TRUE(textOnDesktop(desktop) == text) << int{desktop.red};
        EXPECT_GE(contrastRatio(text, desktop), readableContrast) << int{desktop.red};
    }
}

} // namespace
