#pragma once

#include "controlrow.h"

#include <algorithm>
#include <cmath>

inline constexpr Rgb whiteColour = {0xff, 0xff, 0xff};
inline constexpr Rgb blackColour = {0x00, 0x00, 0x00};
// The least contrast at which ordinary text stays easy to read (WCAG's AA).
inline constexpr double readableContrast = 4.5;

// WCAG's relative luminance of an sRGB colour: 0 for black, 1 for white.
inline double relativeLuminance(Rgb colour) {
    const auto linear = [](unsigned char channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

// From 1 (the same luminance) to 21 (black on white), either way round.
inline double contrastRatio(Rgb a, Rgb b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The instructions are white on the desktop's colour wherever that reads,
// as on the classic teal; on a desktop too light for it they turn black.
inline Rgb textOnDesktop(Rgb desktop) {
    return contrastRatio(whiteColour, desktop) >= readableContrast ? whiteColour : blackColour;
}
