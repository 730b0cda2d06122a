#pragma once

#include "contrast.h"
#include "controlrow.h"

// The system's colours that the window's own are chosen from, as Windows
// reports them: only there does the system have a desktop colour and a
// high-contrast switch to choose by. The choice is plain C++ so that every
// build tests it.
struct SystemPalette {
    Rgb desktop;
    Rgb window;
    Rgb windowText;
    Rgb highlight;
    Rgb highlightText;
};

struct ColourPair {
    Rgb text;
    Rgb background;
    bool operator==(const ColourPair&) const = default;
};

// The two controls that do not take the system's colours as they stand: the
// instructions on the desktop's colour and the mark of an amount the sums
// cannot use.
struct ChosenColours {
    ColourPair instructions;
    ColourPair mark;
    bool operator==(const ChosenColours&) const = default;
};

// A user who turned high contrast on chose every colour to read by: both
// take the theme's own, the mark as a selection stands out. Otherwise the
// instructions keep the desktop's colour with text that reads on it, and the
// mark its pale pink with the black text it was chosen for.
inline ChosenColours chooseColours(bool highContrast, const SystemPalette& system) {
    if (highContrast)
        return {{system.windowText, system.window}, {system.highlightText, system.highlight}};
    return {{textOnDesktop(system.desktop), system.desktop},
            {invalidAmountTextColour, invalidAmountColour}};
}
