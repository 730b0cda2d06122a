#include "systemcolours.h"

namespace {

COLORREF colourRef(Rgb c) {
    return RGB(c.red, c.green, c.blue);
}

bool highContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

Rgb sysColour(int element) {
    return rgbOf(GetSysColor(element));
}

// Replaces a look, and the brush it paints with.
void take(SystemColours::Look& look, ColourPair chosen) {
    if (look.brush)
        DeleteObject(look.brush);
    look = {colourRef(chosen.text), colourRef(chosen.background),
            CreateSolidBrush(colourRef(chosen.background))};
}

} // namespace

Rgb rgbOf(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

SystemColours::SystemColours() {
    read();
}

SystemColours::~SystemColours() {
    DeleteObject(m_instructions.brush);
    DeleteObject(m_mark.brush);
}

void SystemColours::read() {
    const ChosenColours chosen =
        chooseColours(highContrast(), {sysColour(COLOR_DESKTOP), sysColour(COLOR_WINDOW),
                                       sysColour(COLOR_WINDOWTEXT), sysColour(COLOR_HIGHLIGHT),
                                       sysColour(COLOR_HIGHLIGHTTEXT)});
    take(m_instructions, chosen.instructions);
    take(m_mark, chosen.mark);
}
