#include "contrast.h"
#include "systemcolours.h"
#include "win32window.h"

#include <array>

namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF teal =
    RGB(classicDesktopColour.red, classicDesktopColour.green, classicDesktopColour.blue);
constexpr int elements[] = {COLOR_DESKTOP,       COLOR_WINDOW,  COLOR_WINDOWTEXT, COLOR_HIGHLIGHT,
                            COLOR_HIGHLIGHTTEXT, COLOR_BTNFACE, COLOR_BTNTEXT};
using Scheme = std::array<COLORREF, std::size(elements)>;

// A desktop colour among the session's other colours, or one of Windows' two
// high contrast schemes with high contrast turned on.
const struct {
    const char* name;
    Scheme scheme;
    bool highContrast;
} looks[] = {{"white", {white}, false},
             {"light grey", {RGB(192, 192, 192)}, false},
             {"black", {0}, false},
             {"teal", {teal}, false},
             {"high contrast white", {white, white, 0, RGB(55, 0, 110), white, white, 0}, true},
             {"high contrast black", {0, 0, white, RGB(26, 235, 255), 0, 0, white}, true}};

// The ink that stands out most from the colour most of a control is painted in.
COLORREF textColour(const Painting& painted) {
    const Rgb background = rgbOf(painted.background());
    return *std::ranges::max_element(
        painted.pixels, {}, [&](COLORREF c) { return contrastRatio(rgbOf(c), background); });
}

// Each look is set while the window is open (SetSysColors sends it
// WM_SYSCOLORCHANGE) and read from the screen as the window repaints.
TEST_F(Win32Window, InstructionsAndAMarkedAmountReadInEveryDesktopColourAndInHighContrast) {
    type("Text4", "x");
    Scheme saved{};
    std::ranges::transform(elements, saved.begin(), GetSysColor);
    HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
    SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0);
    const HIGHCONTRASTW savedContrast = contrast;
    for (const auto& look : looks) {
        Scheme scheme = look.highContrast ? look.scheme : saved;
        scheme[0] = look.scheme[0];
        SetSysColors(scheme.size(), elements, scheme.data());
        // Wine 8 has no high contrast: there only the scheme's colours change.
        contrast.dwFlags = look.highContrast ? HCF_HIGHCONTRASTON : 0;
        SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof contrast, &contrast, SPIF_SENDCHANGE);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);

        for (const char* name : {"Text27", "Text4"}) {
            const Painting painted(control(name), false);
            EXPECT_GE(contrastRatio(rgbOf(textColour(painted)), rgbOf(painted.background())),
                      readableContrast)
                << name << " on " << look.name;
        }
        const Painting instructions(control("Text27"), false);
        EXPECT_EQ(instructions.background(), look.scheme[0]) << look.name;
        EXPECT_TRUE(look.scheme[0] != teal || textColour(instructions) == white) << "on the teal";
    }
    SetSysColors(saved.size(), elements, saved.data());
    contrast = savedContrast;
    SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof contrast, &contrast, SPIF_SENDCHANGE);
}

} // namespace
