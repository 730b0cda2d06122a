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

struct Look {
    const char* name;
    Scheme scheme; // a desktop colour alone keeps the session's other colours
};

// The ink that stands out most from the colour most of a control is painted in.
COLORREF textColour(const Painting& painted) {
    const Rgb background = rgbOf(painted.background());
    return *std::ranges::max_element(
        painted.pixels, {}, [&](COLORREF c) { return contrastRatio(rgbOf(c), background); });
}

// Sets a look while the window is open (SetSysColors and SPI_SETHIGHCONTRAST
// send it WM_SYSCOLORCHANGE and WM_SETTINGCHANGE) and puts the session's own
// back afterwards. Which colours are chosen is chooseColours' test; this one
// checks that the window takes them and repaints in them.
class Win32Colours : public Win32Window {
  protected:
    Win32Colours() {
        std::ranges::transform(elements, m_saved.begin(), GetSysColor);
        SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof m_contrast, &m_contrast, 0);
        type("Text4", "x");
    }
    ~Win32Colours() override {
        SetSysColors(static_cast<int>(m_saved.size()), elements, m_saved.data());
        setHighContrast(m_contrast.dwFlags & HCF_HIGHCONTRASTON);
    }

    void set(const Look& look, bool highContrast) {
        Scheme scheme = highContrast ? look.scheme : m_saved;
        scheme[0] = look.scheme[0];
        SetSysColors(static_cast<int>(scheme.size()), elements, scheme.data());
        setHighContrast(highContrast);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }

    static bool highContrastOn() {
        HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
        return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
               (contrast.dwFlags & HCF_HIGHCONTRASTON);
    }

    void expectBothRead(const Look& look) {
        for (const char* name : {"Text27", "Text4"}) {
            const Painting painted(control(name), false);
            EXPECT_GE(contrastRatio(rgbOf(textColour(painted)), rgbOf(painted.background())),
                      readableContrast)
                << name << " on " << look.name;
        }
    }

  private:
    void setHighContrast(bool on) {
        HIGHCONTRASTW contrast = m_contrast;
        contrast.dwFlags = on ? (contrast.dwFlags | HCF_HIGHCONTRASTON)
                              : (contrast.dwFlags & ~DWORD{HCF_HIGHCONTRASTON});
        SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof contrast, &contrast, SPIF_SENDCHANGE);
    }

    Scheme m_saved{};
    HIGHCONTRASTW m_contrast{sizeof m_contrast, 0, nullptr};
};

TEST_F(Win32Colours, InstructionsAndAMarkedAmountReadOnEveryDesktopColour) {
    const Look desktops[] = {
        {"white", {white}}, {"light grey", {RGB(192, 192, 192)}}, {"black", {0}}, {"teal", {teal}}};
    for (const Look& look : desktops) {
        set(look, false);
        expectBothRead(look);
        const Painting instructions(control("Text27"), false);
        EXPECT_EQ(instructions.background(), look.scheme[0]) << look.name;
        EXPECT_TRUE(look.scheme[0] != teal || textColour(instructions) == white) << "on the teal";
    }
}

// Windows' two high contrast schemes set the desktop's colour to the window's,
// so the ordinary choice would paint the same: only a system that reports
// high contrast on can show the difference.
TEST_F(Win32Colours, InstructionsAndAMarkedAmountTakeTheHighContrastTheme) {
    const Look schemes[] = {
        {"high contrast white", {white, white, 0, RGB(55, 0, 110), white, white, 0}},
        {"high contrast black", {0, 0, white, RGB(26, 235, 255), 0, 0, white}}};
    for (const Look& look : schemes) {
        set(look, true);
        if (!highContrastOn())
            GTEST_SKIP() << "this system reports high contrast off when asked to turn it on "
                            "(Wine has none)";
        expectBothRead(look);
        const Painting mark(control("Text4"), false);
        EXPECT_EQ(mark.background(), look.scheme[3]) << look.name << ": the highlight";
    }
}

} // namespace
