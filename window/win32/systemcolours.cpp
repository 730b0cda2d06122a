#include "systemcolours.h"

#include "contrast.h"

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

SystemColours::Look systemLook(int text, int background) {
    return {GetSysColor(text), GetSysColor(background), GetSysColorBrush(background)};
}

} // namespace

Rgb rgbOf(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

SystemColours::SystemColours() : m_markBrush(CreateSolidBrush(colourRef(invalidAmountColour))) {
    read();
}

SystemColours::~SystemColours() {
    DeleteObject(m_markBrush);
}

void SystemColours::read() {
    if (highContrast()) {
        m_instructions = systemLook(COLOR_WINDOWTEXT, COLOR_WINDOW);
        m_mark = systemLook(COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT);
        return;
    }
    const COLORREF desktop = GetSysColor(COLOR_DESKTOP);
    m_instructions = {colourRef(textOnDesktop(rgbOf(desktop))), desktop,
                      GetSysColorBrush(COLOR_DESKTOP)};
    // The pale pink was chosen for black text: never the theme's own.
    m_mark = {colourRef(invalidAmountTextColour), colourRef(invalidAmountColour), m_markBrush};
}
