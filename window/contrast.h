#pragma once

#include "controlrow.h"

#include <algorithm>
#include <cmath>

// How far apart two colours are to the eye, by WCAG 2's formula: 1 for the
// same colour, 21 for black on white.
inline double relativeLuminance(Rgb colour) {
    const auto linear = [](unsigned char channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

inline double contrastRatio(Rgb a, Rgb b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The least contrast at which text of an ordinary size reads easily.
inline constexpr double readableContrast = 4.5;
