#include "contrast.h"
#include "win32window.h"

#include <iterator>

namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr int schemeElements[] = {COLOR_DESKTOP,   COLOR_WINDOW,        COLOR_WINDOWTEXT,
                                  COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_BTNFACE,
                                  COLOR_BTNTEXT};
constexpr int schemeSize = static_cast<int>(std::size(schemeElements));
using Scheme = COLORREF[schemeSize];

// Windows' two high-contrast schemes, in the order of schemeElements.
constexpr Scheme highContrastWhite = {white, white, 0, RGB(55, 0, 110), white, white, 0};
constexpr Scheme highContrastBlack = {0, 0, white, RGB(26, 235, 255), 0, 0, white};

struct Look {
    const char* name;
    COLORREF desktop;
    const Scheme* highContrast; // or the session's own colours besides the desktop's
};

const Look looks[] = {{"white", white, nullptr},
                      {"light grey", RGB(192, 192, 192), nullptr},
                      {"black", RGB(0, 0, 0), nullptr},
                      {"teal", RGB(0, 128, 128), nullptr},
                      {"high contrast white", white, &highContrastWhite},
                      {"high contrast black", 0, &highContrastBlack}};

void setScheme(const Scheme& scheme) {
    SetSysColors(schemeSize, schemeElements, scheme);
}

bool setHighContrast(bool on) {
    HIGHCONTRASTW contrast{sizeof contrast, on ? HCF_HIGHCONTRASTON : 0u, nullptr};
    return SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof contrast, &contrast,
                                 SPIF_SENDCHANGE) != FALSE;
}

// The session's colours as they were, put back however the test ends.
struct SavedColours {
    Scheme scheme{};
    bool highContrastSet = false;
    SavedColours() {
        for (int i = 0; i < schemeSize; ++i)
            scheme[i] = GetSysColor(schemeElements[i]);
    }
    ~SavedColours() {
        setScheme(scheme);
        if (highContrastSet)
            setHighContrast(false);
    }
};

Rgb rgbOf(COLORREF c) {
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

// The ink that stands out most from the background a control is painted in.
COLORREF textColour(const Painting& painted) {
    const Rgb background = rgbOf(painted.background());
    return *std::ranges::max_element(
        painted.pixels, {}, [&](COLORREF c) { return contrastRatio(rgbOf(c), background); });
}

// Each look set while the window is open, read from the screen as the window
// repaints itself for it.
TEST_F(Win32Window, InstructionsAndAMarkedAmountReadInEveryDesktopColourAndInHighContrast) {
    type("Text4", "x");
    SavedColours saved;
    for (const Look& look : looks) {
        Scheme scheme{};
        std::copy_n(look.highContrast ? *look.highContrast : saved.scheme, schemeSize, scheme);
        scheme[0] = look.desktop;
        setScheme(scheme);
        // Wine 8 keeps high contrast off: there only the scheme's colours change.
        if (look.highContrast)
            saved.highContrastSet |= setHighContrast(true);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);

        for (const char* name : {"Text27", "Text4"}) {
            const Painting painted(control(name), Painting::From::screen);
            EXPECT_GE(contrastRatio(rgbOf(textColour(painted)), rgbOf(painted.background())),
                      readableContrast)
                << name << " on " << look.name;
        }
        const Painting instructions(control("Text27"), Painting::From::screen);
        EXPECT_EQ(instructions.background(), look.desktop) << look.name;
        if (look.desktop == RGB(0, 128, 128)) {
            EXPECT_EQ(textColour(instructions), white);
        }
    }
}

} // namespace
