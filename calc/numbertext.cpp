#include "numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>
#include <system_error>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Correctly rounded; infinity beyond the range of double, zero below it.
// The text is digits and an exponent, ending in a NUL.
double convert(const char* first, const char* last, bool large) {
#if !GRAINMIX_FLOAT_FROM_CHARS || defined(__i386__)
    // Some C++ libraries have no floating-point from_chars, and on 32-bit x86
    // libstdc++'s computes with x87 and rounds some values to the wrong
    // neighbour. strtod is correct on both. The text has no decimal point, so
    // the locale does not come into it.
    (void)last;
    (void)large;
    return std::strtod(first, nullptr);
#else
    double value = 0.0;
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::scientific);
    if (ec == std::errc::result_out_of_range)
        return large ? std::numeric_limits<double>::infinity() : 0.0;
    return value;
#endif
}

// A decimal number as 0.d1d2d3... x 10^exponent, with leading zeros dropped.
// Only as many digits are kept as can decide the rounding to double; the rest
// count only for whether any of them was non-zero. This keeps a 32,767-digit
// text cheap and needs no heap.
class Decimal {
  public:
    void setNegative(bool negative) { m_negative = negative; }

    void addDigit(char c, bool beforePoint) {
        m_sawDigit = true;
        if (m_count == 0 && c == '0') {
            if (!beforePoint)
                --m_pointShift;
            return;
        }
        if (beforePoint)
            ++m_pointShift;
        if (m_count < keptDigits)
            m_digits[m_count++] = c;
        else if (c != '0')
            m_dropped = true;
    }

    void addExponentDigit(char c) {
        // Saturates: any exponent this large already decides the outcome.
        if (m_exponent < exponentLimit)
            m_exponent = m_exponent * 10 + (c - '0');
    }
    void setExponentNegative(bool negative) { m_exponentNegative = negative; }

    bool sawDigit() const { return m_sawDigit; }

    Reading toDouble() const {
        const double zero = m_negative ? -0.0 : 0.0;
        if (m_count == 0)
            return {zero, ReadStatus::ok};
        const std::int64_t scale = m_pointShift + (m_exponentNegative ? -m_exponent : m_exponent);
        // 10^(scale-1) <= |value| < 10^scale
        if (scale > 400)
            return {0.0, ReadStatus::overflow};
        if (scale < -400)
            return {zero, ReadStatus::ok};

        // "<digits>[1]e<exponent>": no sign, no point, so neither the
        // converter's own grammar nor any locale comes into it.
        char buf[keptDigits + 32];
        char* p = buf;
        std::memcpy(p, m_digits, m_count);
        p += m_count;
        if (m_dropped)
            *p++ = '1';
        const std::int64_t digits = p - buf;
        *p++ = 'e';
        p = std::to_chars(p, buf + sizeof buf - 1, scale - digits).ptr;
        *p = '\0';

        double magnitude = convert(buf, p, scale > 0);
        if (std::isinf(magnitude)) {
            // The largest double is written as 1.79769313486232E+308, which is
            // a little larger than itself: it still reads back.
            if (!atMostLargestWritten())
                return {0.0, ReadStatus::overflow};
            magnitude = std::numeric_limits<double>::max();
        }
        return {m_negative ? -magnitude : magnitude, ReadStatus::ok};
    }

  private:
    bool atMostLargestWritten() const {
        constexpr std::string_view largest = "179769313486232";
        if (m_pointShift + (m_exponentNegative ? -m_exponent : m_exponent) != 309)
            return false;
        for (std::size_t i = 0; i < std::max(m_count, largest.size()); ++i) {
            const char mine = i < m_count ? m_digits[i] : '0';
            const char limit = i < largest.size() ? largest[i] : '0';
            if (mine != limit)
                return mine < limit;
        }
        return !m_dropped;
    }

    // 767 significant digits decide any rounding of a decimal to double.
    static constexpr std::size_t keptDigits = 800;
    static constexpr std::int64_t exponentLimit = 100'000'000'000;

    // Only the first m_count are ever read; clearing all of them would cost
    // more than reading a short amount does.
    char m_digits[keptDigits];
    std::size_t m_count = 0;
    std::int64_t m_pointShift = 0;
    std::int64_t m_exponent = 0;
    bool m_exponentNegative = false;
    bool m_negative = false;
    bool m_dropped = false;
    bool m_sawDigit = false;
};

// Walks a text one character at a time, skipping what the caller says to skip.
class Cursor {
  public:
    Cursor(std::string_view text, bool skipWhitespace) : m_text(text), m_skip(skipWhitespace) {
        settle();
    }

    bool atEnd() const { return m_pos == m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    void advance() {
        ++m_pos;
        settle();
    }
    std::size_t position() const { return m_pos; }
    void rewind(std::size_t pos) { m_pos = pos; }

  private:
    void settle() {
        if (!m_skip)
            return;
        while (m_pos < m_text.size() &&
               (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\n'))
            ++m_pos;
    }

    std::string_view m_text;
    bool m_skip;
    std::size_t m_pos = 0;
};

// sign? digits with at most one point, then an exponent if one is complete.
// Returns false when no mantissa digit was read.
bool scanNumber(Cursor& in, Decimal& number) {
    if (in.peek() == '+' || in.peek() == '-') {
        number.setNegative(in.peek() == '-');
        in.advance();
    }
    bool beforePoint = true;
    while (isDigit(in.peek()) || (beforePoint && in.peek() == '.')) {
        if (in.peek() == '.')
            beforePoint = false;
        else
            number.addDigit(in.peek(), beforePoint);
        in.advance();
    }
    if (!number.sawDigit())
        return false;

    if (in.peek() == 'e' || in.peek() == 'E') {
        const std::size_t mark = in.position();
        in.advance();
        if (in.peek() == '+' || in.peek() == '-') {
            number.setExponentNegative(in.peek() == '-');
            in.advance();
        }
        if (!isDigit(in.peek())) {
            // An incomplete exponent is not part of the number.
            number.setExponentNegative(false);
            in.rewind(mark);
            return true;
        }
        while (isDigit(in.peek())) {
            number.addExponentDigit(in.peek());
            in.advance();
        }
    }
    return true;
}

} // namespace

Reading readLenient(std::string_view text) {
    Cursor in(text, true);
    Decimal number;
    if (!scanNumber(in, number))
        return {0.0, ReadStatus::ok};
    return number.toDouble();
}

Reading readStrict(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {0.0, ReadStatus::conversionFailure};
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);

    Cursor in(text, false);
    Decimal number;
    if (!scanNumber(in, number) || !in.atEnd())
        return {0.0, ReadStatus::conversionFailure};
    return number.toDouble();
}

namespace {

enum class Sign { blankOrMinus, minusOnly };
enum class LeadingZero { keep, drop };

// Plain digits from 1E-4 up to 15 integer digits; exponent form outside, as
// printf's %.15G does.
constexpr int smallestPlainExponent = -4;
constexpr int largestPlainExponent = 14;

void writeNumber(double x, Sign sign, LeadingZero leadingZero, char* out, std::size_t& size) {
    char* p = out;
    if (std::isnan(x)) {
        std::memcpy(p, "NaN", 3);
        size = 3;
        return;
    }
    const bool negative = x < 0; // -0 is written as 0
    if (negative)
        *p++ = '-';
    else if (sign == Sign::blankOrMinus)
        *p++ = ' ';
    if (std::isinf(x)) {
        std::memcpy(p, "Infinity", 8);
        size = static_cast<std::size_t>(p - out) + 8;
        return;
    }
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
