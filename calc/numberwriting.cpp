#include "numbertext.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

enum class Sign { blankOrMinus, minusOnly };
enum class LeadingZero { keep, drop };

// Plain digits from 1E-4 up to 15 integer digits; exponent form outside, as
// printf's %.15G does.
constexpr int smallestPlainExponent = -4;
constexpr int largestPlainExponent = 14;

void writeNumber(double x, Sign sign, LeadingZero leadingZero, char* out, std::size_t& size) {
    // The recalculation checks every sum, product and quotient before it
    // writes one, so no infinity or NaN ever reaches here.
    assert(std::isfinite(x));
    char* p = out;
    const bool negative = x < 0; // -0 is written as 0
    if (negative)
        *p++ = '-';
    else if (sign == Sign::blankOrMinus)
        *p++ = ' ';
    if (x == 0) {
        *p++ = '0';
        size = static_cast<std::size_t>(p - out);
        return;
    }

    // d.dddddddddddddde±x, correctly rounded to 15 significant digits.
    char sci[32];
#if GRAINMIX_FLOAT_TO_CHARS
    const char* const sciEnd =
        std::to_chars(sci, sci + sizeof sci, std::fabs(x), std::chars_format::scientific, 14).ptr;
#else
    // A C++ library without a floating-point to_chars: its C library's printf
    // rounds correctly, and "%e" has no locale-dependent part but the point,
    // which only the digit loop below sees, as any non-digit.
    const int written = std::snprintf(sci, sizeof sci, "%.14e", std::fabs(x));
    const char* const sciEnd = sci + written;
#endif
    const char* ePos = std::find(static_cast<const char*>(sci), sciEnd, 'e');
    int exponent = 0;
    std::from_chars(ePos + 2, sciEnd, exponent);
    if (ePos[1] == '-')
        exponent = -exponent;

    // to_chars always writes a first digit; the zeros only keep GCC's
    // optimiser from warning that it might not.
    char digits[15] = {};
    int count = 0;
    for (const char* q = sci; q != ePos; ++q)
        if (isDigit(*q))
            digits[count++] = *q;
    while (count > 1 && digits[count - 1] == '0')
        --count;

    if (exponent < smallestPlainExponent || exponent > largestPlainExponent) {
        *p++ = digits[0];
        if (count > 1) {
            *p++ = '.';
            std::memcpy(p, digits + 1, static_cast<std::size_t>(count - 1));
            p += count - 1;
        }
        *p++ = 'E';
        *p++ = exponent < 0 ? '-' : '+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10)
            *p++ = '0';
        p = std::to_chars(p, out + 31, magnitude).ptr;
    } else if (exponent >= 0) {
        for (int i = 0; i <= exponent; ++i)
            *p++ = i < count ? digits[i] : '0';
        if (count > exponent + 1) {
            *p++ = '.';
            for (int i = exponent + 1; i < count; ++i)
                *p++ = digits[i];
        }
    } else {
        if (leadingZero == LeadingZero::keep)
            *p++ = '0';
        *p++ = '.';
        for (int i = -1; i > exponent; --i)
            *p++ = '0';
        std::memcpy(p, digits, static_cast<std::size_t>(count));
        p += count;
    }
    size = static_cast<std::size_t>(p - out);
}

} // namespace

NumberText signedNumberText(double x) {
    NumberText text;
    writeNumber(x, Sign::blankOrMinus, LeadingZero::drop, text.m_chars, text.m_size);
    return text;
}

NumberText plainNumberText(double x) {
    NumberText text;
    writeNumber(x, Sign::minusOnly, LeadingZero::keep, text.m_chars, text.m_size);
    return text;
}
