// Both writers over any finite double: the text has the documented form, and
// the strict reading gives back the double rounded to 15 significant digits.
// The recalculation leans on this: it reads amount and the totals back from
// the texts it wrote. The rounding is worked out here a second way, with
// printf and strtod, rather than taken from the writers.

#include "fuzzcheck.h"
#include "numberreading.h"
#include "numbertext.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace {

// Plain digits for 1E-4 <= magnitude < 1E15, exponent form outside.
constexpr int smallestPlainExponent = -4;
constexpr int largestPlainExponent = 14;

// A double rounded to 15 significant digits: d.ddd x 10^exponent.
struct Rounded {
    bool negative = false;
    std::string digits; // no trailing zeros; "0" for zero
    int exponent = 0;
    double value = 0.0; // what the strict reading of a written text gives

    bool plain() const {
        return digits == "0" ||
               (exponent >= smallestPlainExponent && exponent <= largestPlainExponent);
    }
};

Rounded roundTo15Digits(double x) {
    Rounded r;
    // Zero is written without a sign (-0 >= 0 takes the blank), so -0 reads
    // back as +0.
    if (x == 0) {
        r.digits = "0";
        return r;
    }
    // printf rounds correctly to nearest; the process runs in the C locale.
    char sci[64];
    const int length = std::snprintf(sci, sizeof sci, "%.14e", x);
    const char* p = sci;
    r.negative = *p == '-';
    if (r.negative)
        ++p;
    r.digits += *p++;
    if (*p++ != '.')
        fail("unexpected printf output %s", sci);
    for (int i = 0; i < 14; ++i)
        r.digits += *p++;
    if (*p++ != 'e')
        fail("unexpected printf output %s", sci);
    r.exponent = std::atoi(p);
    while (r.digits.size() > 1 && r.digits.back() == '0')
        r.digits.pop_back();

    r.value = std::strtod(sci, nullptr);
    if (std::isinf(r.value)) {
        // The one rounding beyond the largest double; it reads back as the
        // largest double rather than overflowing.
        if (r.digits != "179769313486232" || r.exponent != 308)
            fail("strtod overflowed on %s (%d chars)", sci, length);
        r.value = std::copysign(std::numeric_limits<double>::max(), r.value);
    }
    return r;
}

bool allDigits(std::string_view text) {
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

enum class Writer { signedText, plainText };

// Checks the form of one written text and that it says exactly the rounded
// value; `what` names the writer and the double in reports.
void checkText(std::string_view text, Writer writer, const Rounded& r, const std::string& what) {
    const char* shown = what.c_str();
    std::string_view body = text;
    if (writer == Writer::signedText) {
        if (body.empty() || (body[0] != ' ' && body[0] != '-'))
            fail("%s gave %s: it must begin with a blank or a minus sign", shown,
                 quoted(text).c_str());
        if ((body[0] == '-') != r.negative)
            fail("%s gave %s: wrong sign", shown, quoted(text).c_str());
        body.remove_prefix(1);
    } else {
        if (r.negative) {
            if (body.empty() || body[0] != '-')
                fail("%s gave %s: a negative number begins with a minus sign", shown,
                     quoted(text).c_str());
            body.remove_prefix(1);
        }
    }
    if (body.empty() || !(allDigits(body.substr(0, 1)) || body[0] == '.'))
        fail("%s gave %s: one sign only, then the magnitude", shown, quoted(text).c_str());

    std::string digits;
    int exponent = 0;
    const std::size_t e = body.find('E');
    if (e != std::string_view::npos) {
        if (r.plain())
            fail("%s gave %s: exponent form inside the plain range", shown, quoted(text).c_str());
        // d, or d.ddd without trailing zeros; then E, a sign and two or three digits.
        const std::string_view mantissa = body.substr(0, e);
        const std::string_view power = body.substr(e + 1);
        const bool mantissaOk =
            mantissa.size() >= 1 && mantissa[0] >= '1' && mantissa[0] <= '9' &&
            (mantissa.size() == 1 || (mantissa.size() >= 3 && mantissa[1] == '.' &&
                                      allDigits(mantissa.substr(2)) && mantissa.back() != '0'));
        const bool powerOk = power.size() >= 3 && power.size() <= 4 &&
                             (power[0] == '+' || power[0] == '-') && allDigits(power.substr(1)) &&
                             (power.size() == 3 || power[1] != '0');
        if (!mantissaOk || !powerOk)
            fail("%s gave %s: not of the form dE+dd or d.dddE-dd", shown, quoted(text).c_str());
        digits += mantissa[0];
        if (mantissa.size() > 1)
            digits += mantissa.substr(2);
        exponent = std::atoi(std::string(power.substr(1)).c_str());
        if (power[0] == '-')
            exponent = -exponent;
    } else {
        if (!r.plain())
            fail("%s gave %s: plain digits outside the plain range", shown, quoted(text).c_str());
        const std::size_t point = body.find('.');
        const std::string_view whole = body.substr(0, point);
        const std::string_view fraction =
            point == std::string_view::npos ? std::string_view() : body.substr(point + 1);
        if (!allDigits(whole) || !allDigits(fraction))
            fail("%s gave %s: stray characters", shown, quoted(text).c_str());
        if (point != std::string_view::npos && (fraction.empty() || fraction.back() == '0'))
            fail("%s gave %s: a point must be followed by digits not ending in 0", shown,
                 quoted(text).c_str());
        if (whole.size() > 1 && whole[0] == '0')
            fail("%s gave %s: leading zero", shown, quoted(text).c_str());
        const bool belowOne = r.digits != "0" && r.exponent < 0;
        if (writer == Writer::signedText && belowOne && !whole.empty())
            fail("%s gave %s: no zero before the point below 1", shown, quoted(text).c_str());
        if (writer == Writer::plainText && belowOne && whole != "0")
            fail("%s gave %s: a zero before the point below 1", shown, quoted(text).c_str());
        if (whole.empty() && !belowOne)
            fail("%s gave %s: missing digits before the point", shown, quoted(text).c_str());

        // The first significant digit sits at this power of ten.
        exponent = static_cast<int>(whole.size()) - 1;
        bool leading = true;
        for (const char c : std::string(whole) + std::string(fraction)) {
            if (leading && c == '0') {
                --exponent;
                continue;
            }
            leading = false;
            digits += c;
        }
        if (digits.empty()) {
            digits = "0";
            exponent = 0;
        }
        while (digits.size() > 1 && digits.back() == '0')
            digits.pop_back();
    }

    if (digits.size() > 15)
        fail("%s gave %s: more than 15 significant digits", shown, quoted(text).c_str());
    if (digits != r.digits || exponent != r.exponent)
        fail("%s gave %s: expected the digits %s at 10^%d", shown, quoted(text).c_str(),
             r.digits.c_str(), r.exponent);

    const Reading back = readStrict(text);
    if (!back.ok() || !sameBits(back.value, r.value))
        fail("%s gave %s, which reads back as %.17g (status %d), expected %.17g", shown,
             quoted(text).c_str(), back.value, static_cast<int>(back.status), r.value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double))
        return 0;
    double x = 0.0;
    std::memcpy(&x, data, sizeof x);
    if (!std::isfinite(x))
        return 0;

    const Rounded r = roundTo15Digits(x);
    char shown[64];
    std::snprintf(shown, sizeof shown, "%.17g", x);
    checkText(signedNumberText(x).view(), Writer::signedText, r,
              std::string("signedNumberText(") + shown + ")");
    checkText(plainNumberText(x).view(), Writer::plainText, r,
              std::string("plainNumberText(") + shown + ")");
    return 0;
}
