// The two readings over any text: they never crash or read outside the text,
// the lenient one fails only on overflow, the strict one accepts exactly one
// number surrounded by blanks, and both give the correctly rounded value.
// Every value is worked out a second way here, with strtod, so the readers'
// own digit handling is checked rather than trusted.

#include "fuzzcheck.h"
#include "numberreading.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSign(char c) {
    return c == '+' || c == '-';
}

// The longest number at the start of the text: a sign, digits with at most
// one point, at least one digit, then an exponent if it is complete. Zero
// when the text does not begin with a number.
std::size_t numberLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && isSign(text[i]))
        ++i;
    std::size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i]))
            ++digits;
        else if (text[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && isSign(text[j]))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

// Whether a number text, as numberLength accepts it, has a magnitude of at
// most 1.79769313486232E+308: the largest text the writers produce, which
// must read back although strtod calls it out of range.
bool withinLargestWritten(std::string_view number) {
    std::string digits;
    std::int64_t integerDigits = 0;
    std::size_t i = isSign(number[0]) ? 1 : 0;
    bool point = false;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
        if (number[i] == '.') {
            point = true;
            continue;
        }
        if (digits.empty() && number[i] == '0') {
            if (point)
                --integerDigits;
            continue;
        }
        digits += number[i];
        if (!point)
            ++integerDigits;
    }
    if (digits.empty())
        return true;

    std::int64_t exponent = 0;
    bool negativeExponent = false;
    if (i < number.size()) {
        ++i;
        if (isSign(number[i]))
            negativeExponent = number[i++] == '-';
        // Capped: beyond a billion the outcome is long decided.
        for (; i < number.size(); ++i)
            if (exponent < 1'000'000'000)
                exponent = exponent * 10 + (number[i] - '0');
    }
    // The magnitude is 0.<digits> times ten to this power.
    const std::int64_t scale = integerDigits + (negativeExponent ? -exponent : exponent);
    if (scale != 309)
        return scale < 309;

    constexpr std::string_view largest = "179769313486232";
    for (std::size_t k = 0; k < std::max(digits.size(), largest.size()); ++k) {
        const char mine = k < digits.size() ? digits[k] : '0';
        const char limit = k < largest.size() ? largest[k] : '0';
        if (mine != limit)
            return mine < limit;
    }
    return true;
}

// What reading a whole number text must give. glibc's strtod rounds any
// decimal correctly, however many digits; the process runs in the C locale,
// so the full stop is its decimal point.
Reading expectedReading(std::string_view number) {
    const std::string text(number);
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size())
        fail("strtod stopped early in %s", quoted(number).c_str());
    if (std::isinf(value)) {
        if (!withinLargestWritten(number))
            return {0.0, ReadStatus::overflow};
        return {std::copysign(std::numeric_limits<double>::max(), value), ReadStatus::ok};
    }
    return {value, ReadStatus::ok};
}

const char* statusName(ReadStatus status) {
    switch (status) {
    case ReadStatus::ok:
        return "ok";
    case ReadStatus::conversionFailure:
        return "conversion failure";
    case ReadStatus::overflow:
        return "overflow";
    }
    return "?";
}

void checkReading(const char* rule, std::string_view text, const Reading& got,
                  const Reading& expected) {
    if (got.status != expected.status)
        fail("%s of %s: status %s, expected %s", rule, quoted(text).c_str(), statusName(got.status),
             statusName(expected.status));
    if (got.ok() && !sameBits(got.value, expected.value))
        fail("%s of %s: %.17g, expected %.17g", rule, quoted(text).c_str(), got.value,
             expected.value);
}

void checkLenient(std::string_view text, const Reading& got) {
    if (got.status == ReadStatus::conversionFailure)
        fail("readLenient of %s failed to convert: it may fail only on overflow",
             quoted(text).c_str());

    std::string squeezed;
    for (const char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            squeezed += c;
    const std::size_t length = numberLength(squeezed);
    if (length == 0) {
        // No digit reads as 0; the sign of that zero shows nowhere.
        if (!got.ok() || got.value != 0)
            fail("readLenient of %s: %s %.17g, expected 0", quoted(text).c_str(),
                 statusName(got.status), got.value);
        return;
    }
    checkReading("readLenient", text, got,
                 expectedReading(std::string_view(squeezed).substr(0, length)));
}

void checkStrict(std::string_view text, const Reading& got) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        checkReading("readStrict", text, got, {0.0, ReadStatus::conversionFailure});
        return;
    }
    const std::string_view number = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (numberLength(number) != number.size()) {
        checkReading("readStrict", text, got, {0.0, ReadStatus::conversionFailure});
        return;
    }
    checkReading("readStrict", text, got, expectedReading(number));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Exactly the fuzzer's bytes, with no terminator after them: a reader
    // that looks one byte too far trips AddressSanitizer.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Reading lenient = readLenient(text);
    const Reading strict = readStrict(text);

    checkLenient(text, lenient);
    checkStrict(text, strict);

    // Only blanks are trimmed: a tab or line feed anywhere leaves more than one
    // number, which the totals must reject although the amount reads it.
    if (text.find_first_of("\t\n") != std::string_view::npos &&
        strict.status != ReadStatus::conversionFailure)
        fail("readStrict of %s, which holds a tab or line feed, gave %s", quoted(text).c_str(),
             statusName(strict.status));

    // A text the strict reading accepts is, once its blanks are gone, the very
    // number the lenient reading sees: the amount and the totals must agree on
    // it to the last bit, the sign of a zero included.
    if (strict.status != ReadStatus::conversionFailure) {
        if (lenient.status != strict.status)
            fail("%s: readStrict gave %s, readLenient %s", quoted(text).c_str(),
                 statusName(strict.status), statusName(lenient.status));
        if (strict.ok() && !sameBits(lenient.value, strict.value))
            fail("%s: readStrict gave %.17g, readLenient %.17g", quoted(text).c_str(), strict.value,
                 lenient.value);
    }
    return 0;
}
