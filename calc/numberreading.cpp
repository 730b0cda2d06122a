#include "numberreading.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
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
