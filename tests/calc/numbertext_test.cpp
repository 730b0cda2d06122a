#include "numberreading.h"
#include "numbertext.h"

#include "localeguard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr double largest = std::numeric_limits<double>::max();
constexpr double smallestSubnormal = std::numeric_limits<double>::denorm_min();
constexpr double infinity = std::numeric_limits<double>::infinity();

// The most an edit field holds.
constexpr std::size_t longestText = 32767;

// Texts in failure messages: quoted so blanks show, control characters
// escaped, and long ones cut short.
std::string visible(std::string_view text) {
    std::string out = "'";
    const std::size_t shown = std::min<std::size_t>(text.size(), 60);
    for (char c : text.substr(0, shown)) {
        if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    out += "'";
    if (shown < text.size())
        out.append("... (").append(std::to_string(text.size())).append(" characters)");
    return out;
}

std::string describe(double x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", x);
    return buf;
}

const char* describe(ReadStatus status) {
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

std::string repeated(char c, std::size_t count) {
    return std::string(count, c);
}

// `head`, then `count` copies of `fill`, then `tail`.
std::string withRun(std::string_view head, char fill, std::size_t count,
                    std::string_view tail = "") {
    std::string text(head);
    text.append(count, fill);
    text.append(tail);
    return text;
}

// `head`, zeros, then `tail`: `length` characters in all.
std::string padWithZeros(std::string_view head, std::size_t length, std::string_view tail) {
    return withRun(head, '0', length - head.size() - tail.size(), tail);
}

// 5^n in decimal digits: 2^-n is 5^n * 10^-n, so this writes binary fractions
// exactly, with every one of their digits.
std::string powerOfFive(int n) {
    std::vector<int> digits{1}; // least significant first
    for (int i = 0; i < n; ++i) {
        int carry = 0;
        for (int& d : digits) {
            const int v = d * 5 + carry;
            d = v % 10;
            carry = v / 10;
        }
        if (carry != 0)
            digits.push_back(carry);
    }
    std::string text;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it)
        text += static_cast<char>('0' + *it);
    return text;
}

// Exactly half of the smallest subnormal, 2^-1075: the tie between 0 and it.
std::string halfSmallestSubnormal() {
    const std::string digits = powerOfFive(1075);
    return withRun("0.", '0', 1075 - digits.size(), digits);
}

// Exactly 1 + 2^-53: the tie between 1 and the next double above it.
constexpr std::string_view halfwayAboveOne =
    "1.00000000000000011102230246251565404236316680908203125";

struct ReadCase {
    std::string text;
    double value; // meaningful only when status is ok
    ReadStatus status = ReadStatus::ok;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << visible(c.text) << " -> " << describe(c.status);
    if (c.status == ReadStatus::ok)
        *os << " " << describe(c.value);
}

ReadCase fails(std::string text) {
    return {std::move(text), 0.0, ReadStatus::conversionFailure};
}
ReadCase overflows(std::string text) {
    return {std::move(text), 0.0, ReadStatus::overflow};
}

// Same status and, when it read, the very same double, sign of zero included.
::testing::AssertionResult readsAs(const Reading& got, const ReadCase& want) {
    if (got.status != want.status)
        return ::testing::AssertionFailure()
               << visible(want.text) << ": status " << describe(got.status) << ", expected "
               << describe(want.status);
    if (want.status == ReadStatus::ok &&
        (got.value != want.value || std::signbit(got.value) != std::signbit(want.value)))
        return ::testing::AssertionFailure()
               << visible(want.text) << ": read " << describe(got.value) << ", expected "
               << describe(want.value);
    return ::testing::AssertionSuccess();
}

std::string fourHundredDigits() {
    return withRun("1", '0', 399);
}

// Beyond the double range or below it, texts that both readings share.
std::vector<ReadCase> rangeCases() {
    return {
        overflows("1e309"),
        overflows("-1e309"),
        overflows(fourHundredDigits()),
        overflows(withRun("-1", '0', 399)),
        overflows("1e99999999999999999999"),
        overflows("1.8e308"),
        // Just above the text the largest double is written as.
        overflows("1.79769313486233E+308"),
        overflows("1.797693134862321E+308"),
        overflows("-1.797693134862321E+308"),
        // Too small is never a failure: it reads as a zero of the same sign.
        {"1e-400", 0.0},
        {"-1e-400", -0.0},
        {"2e-324", 0.0},
        {"-2e-324", -0.0},
        {"4e-324", smallestSubnormal},
        {"-4e-324", -smallestSubnormal},
        {"1e-99999999999999999999", 0.0},
        {withRun("0.", '0', 400, "1"), 0.0},
        // Zero stays zero however large its exponent.
        {"0e99999999999999999999", 0.0},
        {"0.000e400", 0.0},
        // The decimal point and the exponent together decide the range.
        {withRun("0.", '0', 400, "1e401"), 1.0},
        {withRun("1", '0', 400, "e-400"), 1.0},
        {"1e0000000000000000000000000000003", 1000.0},
        {"1.7976931348623157E+308", largest},
        {"2.2250738585072014E-308", DBL_MIN},
        // Ties between two doubles go to the even one; a digit however far
        // behind the tie decides it.
        {halfSmallestSubnormal(), 0.0},
        {withRun(halfSmallestSubnormal(), '0', 300, "1"), smallestSubnormal},
        {std::string(halfwayAboveOne), 1.0},
        {withRun(halfwayAboveOne, '0', 1000, "1"), std::nextafter(1.0, 2.0)},
        {"1.0000000000000001110223024625156540423631668090820312", 1.0},
    };
}

std::vector<ReadCase> lenientCases() {
    std::vector<ReadCase> cases = {
        {"", 0.0},
        {"abc", 0.0},
        {"7", 7.0},
        {" 7 ", 7.0},
        {"12abc", 12.0},
        {"1 5", 15.0},
        {"-3", -3.0},
        {".5", 0.5},
        {"1.5.3", 1.5},
        {"1e3", 1000.0},
        {"1 000", 1000.0},
        {" 2 45 7", 2457.0},
        {"\t7\n", 7.0},
        {"1\t2\n3", 123.0},
        {"1 . 5 e 2", 150.0},
        {"$5", 0.0},
        {"1,5", 1.0},
        {"-", 0.0},
        {".", 0.0},
        {"-.", 0.0},
        {"..5", 0.0},
        {"1..5", 1.0},
        {"5.", 5.0},
        {"-.5", -0.5},
        {"+5", 5.0},
        {" + 5", 5.0},
        {"- 3", -3.0},
        {"--3", 0.0},
        {"+-3", 0.0},
        {"007", 7.0},
        {"0.1", 0.1},
        {"-0", -0.0},
        {"1E3", 1000.0},
        {"1e+3", 1000.0},
        {"1e-3", 0.001},
        {"2.5E-1", 0.25},
        // An exponent without digits is not part of the number.
        {"1e", 1.0},
        {"1e+", 1.0},
        {"1e-x", 1.0},
        {"1ex", 1.0},
        {"1e3.5", 1000.0},
        {"1e3e2", 1000.0},
        // What a general number parser would take but a typed amount never means.
        {"0x10", 0.0},
        {"0X1A", 0.0},
        {"inf", 0.0},
        {"-inf", 0.0},
        {"infinity", 0.0},
        {"Infinity", 0.0},
        {"nan", 0.0},
        {"NaN", 0.0},
        {"1e999abc", 0.0, ReadStatus::overflow},
    };
    for (ReadCase& c : rangeCases())
        cases.push_back(std::move(c));
    return cases;
}

std::vector<ReadCase> strictCases() {
    std::vector<ReadCase> cases = {
        // One number with blanks around it, in every form the writers produce.
        {" 7", 7.0},
        {" .3", 0.3},
        {"-.25", -0.25},
        {"1E+15", 1e15},
        {"7", 7.0},
        {"  7  ", 7.0},
        {"+5", 5.0},
        {"5.", 5.0},
        {".5", 0.5},
        {"-0", -0.0},
        {"007", 7.0},
        {"1e3", 1000.0},
        {"1E-05", 1e-5},
        {" 10", 10.0},
        {"-11.5", -11.5},
        {"10.1666666666667", 10.1666666666667},
        {" 1E-300", 1e-300},
        {" 1.79769313486232E+308 ", largest},
        // Anything else is not a number.
        fails(""),
        fails(" "),
        fails("   "),
        fails("-"),
        fails("+"),
        fails("."),
        fails("-."),
        fails(" - "),
        fails("12abc"),
        fails("abc"),
        fails("$5"),
        fails("7%"),
        fails("1,5"),
        fails("1 5"),
        fails("1 000"),
        fails("- 3"),
        fails("1 e3"),
        fails("1.5.3"),
        fails("--3"),
        fails("+-3"),
        fails("1e"),
        fails("1e+"),
        fails("1e3.5"),
        fails("E5"),
        fails(".e5"),
        fails("0x10"),
        fails("inf"),
        fails("-inf"),
        fails("infinity"),
        fails("Infinity"),
        fails("nan"),
        fails("NaN"),
    };
    for (ReadCase& c : rangeCases())
        cases.push_back(std::move(c));
    return cases;
}

// Texts as long as a field can hold. The digits that decide a rounding may
// sit at the very end.
std::vector<ReadCase> longStrictCases() {
    const std::size_t n = longestText;
    return {
        {repeated(' ', 16000) + "12.5" + repeated(' ', n - 16004), 12.5},
        {padWithZeros("1.", n, ""), 1.0},
        {withRun("0.", '3', n - 2), 1.0 / 3.0},
        {withRun("-.", '9', n - 2), -1.0},
        {padWithZeros("1", n, "e-32759"), 1.0},
        {padWithZeros("0.", n, "1e32759"), 1.0},
        overflows(padWithZeros("1", n, "")),
        {padWithZeros("0.", n, "1"), 0.0},
        {padWithZeros(halfwayAboveOne, n, ""), 1.0},
        {padWithZeros(halfwayAboveOne, n, "1"), std::nextafter(1.0, 2.0)},
        {padWithZeros(halfSmallestSubnormal(), n, ""), 0.0},
        {padWithZeros(halfSmallestSubnormal(), n, "1"), smallestSubnormal},
        {padWithZeros("1.79769313486232", n, "E+308"), largest},
        overflows(padWithZeros("1.79769313486232", n, "1E+308")),
        fails(repeated(' ', n)),
        fails(padWithZeros("1.", n, "x")),
    };
}

std::vector<ReadCase> longLenientCases() {
    const std::size_t n = longestText;
    std::string spacedThirds = "0.";
    while (spacedThirds.size() + 2 <= n)
        spacedThirds += " 3";
    spacedThirds += repeated(' ', n - spacedThirds.size());
    return {
        {repeated(' ', 16000) + "12.5" + repeated(' ', n - 16004), 12.5},
        {spacedThirds, 1.0 / 3.0},
        {repeated(' ', n), 0.0},
        {padWithZeros("1.", n, "x"), 1.0},
        {padWithZeros("1", n, "e-32759"), 1.0},
        {padWithZeros(halfwayAboveOne, n, "1"), std::nextafter(1.0, 2.0)},
        {withRun("-.", '9', n - 2), -1.0},
        overflows(padWithZeros("1", n, "")),
    };
}

class LenientReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(LenientReading, ReadsTheLongestLeadingNumber) {
    EXPECT_TRUE(readsAs(readLenient(GetParam().text), GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Texts, LenientReading, ::testing::ValuesIn(lenientCases()));
INSTANTIATE_TEST_SUITE_P(LongTexts, LenientReading, ::testing::ValuesIn(longLenientCases()));

class StrictReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(StrictReading, AcceptsOnlyOneWholeNumber) {
    EXPECT_TRUE(readsAs(readStrict(GetParam().text), GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Texts, StrictReading, ::testing::ValuesIn(strictCases()));
INSTANTIATE_TEST_SUITE_P(LongTexts, StrictReading, ::testing::ValuesIn(longStrictCases()));

TEST(LongTexts, AreAsLongAsAFieldHolds) {
    for (const auto& cases : {longStrictCases(), longLenientCases()})
        for (const ReadCase& c : cases)
            EXPECT_EQ(c.text.size(), longestText) << visible(c.text);
}

struct WriteCase {
    double value;
    std::string_view text;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << describe(c.value) << " -> " << visible(c.text);
}

const WriteCase signedCases[] = {
    {10.0, " 10"},
    {0.0, " 0"},
    {-0.0, " 0"},
    {0.1 + 0.2, " .3"},
    {-5.0, "-5"},
    {1.0 / 3.0, " .333333333333333"},
    {0.3, " .3"},
    {-0.25, "-.25"},
    {0.001, " .001"},
    {127.0, " 127"},
    {-11.5, "-11.5"},
    {1e15, " 1E+15"},
    {123456789012345.0, " 123456789012345"},
    // Rounding to 15 digits carries into a new leading digit.
    {0.9999999999999999, " 1"},
    {-0.9999999999999999, "-1"},
    {99999.99999999999, " 100000"},
    {largest, " 1.79769313486232E+308"},
    {-largest, "-1.79769313486232E+308"},
};

const WriteCase plainCases[] = {
    {19.0, "19"},
    {10.166666666666666, "10.1666666666667"},
    {3.1333333333333333, "3.13333333333333"},
    {0.0, "0"},
    {-0.0, "0"},
    {127.0, "127"},
    {30.5, "30.5"},
    {30.5 / 3.0, "10.1666666666667"},
    {-11.5, "-11.5"},
    {0.1 + 0.2, "0.3"},
    {0.94, "0.94"},
    {-0.25, "-0.25"},
    {0.001, "0.001"},
    {1e15, "1E+15"},
    {123456789012345.0, "123456789012345"},
    {1234567890123456.0, "1.23456789012346E+15"},
    // Rounding to 15 digits carries into a new leading digit.
    {0.9999999999999999, "1"},
    {99999.99999999999, "100000"},
    {999999999999999.9, "1E+15"},
    {9.999999999999999e22, "1E+23"},
    {largest, "1.79769313486232E+308"},
    {-largest, "-1.79769313486232E+308"},
    {smallestSubnormal, "4.94065645841247E-324"},
};

class SignedText : public ::testing::TestWithParam<WriteCase> {};

TEST_P(SignedText, LeadsWithBlankOrMinusAndDropsTheZeroBeforeThePoint) {
    EXPECT_EQ(signedNumberText(GetParam().value).view(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Numbers, SignedText, ::testing::ValuesIn(signedCases));

class PlainText : public ::testing::TestWithParam<WriteCase> {};

TEST_P(PlainText, KeepsTheZeroBeforeThePoint) {
    EXPECT_EQ(plainNumberText(GetParam().value).view(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Numbers, PlainText, ::testing::ValuesIn(plainCases));

// The checks below compare with the C library's own formatting and parsing,
// which follow the C locale; pin it whatever ran before.
void useCLocale() {
    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, "C");
}

double parsedByC(const char* text) {
    return std::strtod(text, nullptr);
}

// x rounded to 15 significant digits, the one value each writer's text must
// read back as. One deliberate exception: the largest doubles round to
// 1.79769313486232E+308, beyond the range, and that text reads as the largest
// double rather than failing.
double roundedTo15Digits(double x) {
    char text[64];
    std::snprintf(text, sizeof text, "%.14e", x);
    const double rounded = parsedByC(text);
    return std::isinf(rounded) ? std::copysign(largest, x) : rounded;
}

// Doubles across the whole range, with the regions where writing and
// reading back are hard packed in densely.
// std::bit_cast, which the C++ library of the web build lacks.
double fromBits(std::uint64_t bits) {
    double x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

std::vector<double> sampleDoubles() {
    std::vector<double> xs;
    std::mt19937_64 random(0x6772'6169'6e6d'6978);

    for (int i = 0; i < 200'000; ++i) {
        const double x = fromBits(random());
        if (std::isfinite(x))
            xs.push_back(x);
    }
    for (int i = 0; i < 20'000; ++i)
        xs.push_back(fromBits(random() & 0x800F'FFFF'FFFF'FFFF));

    // Decimal texts of 15 to 17 digits, some ending in 5 so that the double
    // lies next to a tie of the 15-digit rounding.
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> exponent(-330, 310);
    for (int i = 0; i < 50'000; ++i) {
        std::string text = std::to_string(1 + digit(random) % 9) + ".";
        const int more = 14 + i % 3;
        for (int d = 0; d < more; ++d)
            text += static_cast<char>('0' + digit(random));
        if (i % 2 == 0)
            text.back() = '5';
        text += 'e';
        text += std::to_string(exponent(random));
        const double x = parsedByC(text.c_str());
        if (std::isfinite(x))
            xs.push_back(x);
    }

    for (int e = -324; e <= 308; ++e) {
        char power[16];
        std::snprintf(power, sizeof power, "1e%d", e);
        const double p = parsedByC(power);
        xs.push_back(p);
        xs.push_back(std::nextafter(p, 0.0));
        xs.push_back(std::nextafter(p, infinity));
    }

    double nearLargest = largest;
    for (int i = 0; i < 2'000; ++i) {
        xs.push_back(nearLargest);
        nearLargest = std::nextafter(nearLargest, 0.0);
    }

    for (double x :
         {0.0, -0.0, smallestSubnormal, 2 * smallestSubnormal, DBL_MIN,
          std::nextafter(DBL_MIN, 0.0), std::nextafter(DBL_MIN, 1.0), 0.1 + 0.2, 1.0 / 3.0,
          2.0 / 3.0, 9.999999999999999e22, 999999999999999.9, 99999.99999999999, 0.9999999999999999,
          9.9999999999999995e-5, 1e15 - 1, 123456789012345.6, 0.000123456789012345678})
        xs.push_back(x);

    const std::size_t positives = xs.size();
    for (std::size_t i = 0; i < positives; ++i)
        xs.push_back(-xs[i]);
    return xs;
}

const std::vector<double>& sample() {
    static const std::vector<double> xs = sampleDoubles();
    return xs;
}

// Reports the first few of many failures in a loop instead of thousands.
class FailureLimit {
  public:
    bool admit() { return ++m_count <= 20; }
    int count() const { return m_count; }

  private:
    int m_count = 0;
};

TEST(NumberTextRoundTrip, EveryWrittenTextReadsBackAsTheNumberRoundedTo15Digits) {
    LocaleGuard restore;
    useCLocale();
    FailureLimit failures;
    for (double x : sample()) {
        const double want = roundedTo15Digits(x);
        const NumberText plain = plainNumberText(x);
        const NumberText signedText = signedNumberText(x);
        for (std::string_view text : {plain.view(), signedText.view()}) {
            const Reading got = readStrict(text);
            if ((!got.ok() || got.value != want) && failures.admit())
                ADD_FAILURE() << describe(x) << " written as " << visible(text) << " reads as "
                              << describe(got.status) << " " << describe(got.value) << ", expected "
                              << describe(want);
        }
    }
    EXPECT_EQ(failures.count(), 0);
}

// What is wrong with the form of one number's two texts, or nothing.
std::string formProblem(double x, std::string_view plain, std::string_view signedText) {
    const bool negative = x < 0;
    if (signedText.empty() || signedText[0] != (negative ? '-' : ' '))
        return "signed text must begin with a blank, or a minus sign for a negative number";
    if (plain.empty() || plain[0] == ' ' || (plain[0] == '-') != negative)
        return "plain text must have no leading blank and a minus sign only when negative";

    const std::string_view magnitude = signedText.substr(1);
    if (magnitude.size() > 1 && magnitude[0] == '0')
        return "signed text has a zero before the point";
    const std::string_view mantissa = magnitude.substr(0, magnitude.find('E'));
    if (magnitude.find(' ') != std::string_view::npos ||
        mantissa.find('-') != std::string_view::npos)
        return "signed text has a blank or minus sign after its first character";

    // The plain text is the signed one with the sign blank gone and the zero
    // before the point put back.
    std::string expectedPlain = negative ? "-" : "";
    if (magnitude[0] == '.')
        expectedPlain += '0';
    expectedPlain += magnitude;
    if (plain != expectedPlain)
        return "plain text is not the signed text with its zero put back";

    if (mantissa.find('.') != std::string_view::npos &&
        (mantissa.back() == '0' || mantissa.back() == '.'))
        return "trailing zeros or a bare point";
    int significant = 0;
    bool started = false;
    for (char c : mantissa) {
        if (c >= '1' && c <= '9')
            started = true;
        if (started && c >= '0' && c <= '9')
            ++significant;
    }
    if (significant > 15)
        return "more than 15 significant digits";
    return {};
}

TEST(NumberTextForm, SignBlankZeroBeforeThePointAndNoTrailingZeros) {
    FailureLimit failures;
    for (double x : sample()) {
        const NumberText plain = plainNumberText(x);
        const NumberText signedText = signedNumberText(x);
        const std::string problem = formProblem(x, plain.view(), signedText.view());
        if (!problem.empty() && failures.admit())
            ADD_FAILURE() << describe(x) << ": " << problem << ": plain " << visible(plain.view())
                          << ", signed " << visible(signedText.view());
    }
    EXPECT_EQ(failures.count(), 0);
}

// The plain text is C's "%.15G": 15 digits rounded to nearest, trailing zeros
// dropped, exponent form below 1E-04 and from 1E+15 on.
TEST(NumberTextForm, PlainTextIsPrintfG15) {
    LocaleGuard restore;
    useCLocale();
    FailureLimit failures;
    for (double x : sample()) {
        if (x == 0)
            continue; // printf keeps the sign of -0; the writers never show one
        char printed[64];
        std::snprintf(printed, sizeof printed, "%.15G", x);
        const NumberText plain = plainNumberText(x);
        if (plain.view() != printed && failures.admit())
            ADD_FAILURE() << describe(x) << ": " << visible(plain.view()) << ", printf " << printed;
    }
    EXPECT_EQ(failures.count(), 0);
}

// Exactly halfway between the largest double and 2^1024: by the usual
// rounding it would be 2^1024, beyond the range.
constexpr std::string_view halfwayAboveLargest =
    "17976931348623158079372897140530341507993413271003782693617377898044496829276475094664901797"
    "75872070963302864166928879109465555478519404026306574886715058206819089020007083836762738548"
    "45817711531764475730270069855571366959622842914819860834936475292719074168444365510704342711"
    "559699508093042880177904174497792";

std::vector<ReadCase> largestBoundaryCases() {
    return {
        {"1.79769313486232E+308", largest},
        {"-1.79769313486232E+308", -largest},
        {"1.797693134862320000000000E+308", largest},
        {"0.179769313486232E+309", largest},
        {"17976931348623.2E+295", largest},
        {withRun("179769313486232", '0', 294), largest},
        {std::string(halfwayAboveLargest), largest},
        // Anything above that text overflows, however little.
        overflows("1.797693134862320000000001E+308"),
        overflows(withRun("179769313486232", '0', 293, "1")),
        overflows(withRun("1797693134862320", '0', 294)),
        overflows("1.79769313486233E+308"),
        overflows("-1.79769313486233E+308"),
    };
}

TEST(LargestDouble, IsWrittenSlightlyAboveItselfAndReadsBackAsItself) {
    ASSERT_EQ(plainNumberText(largest).view(), "1.79769313486232E+308");
    ASSERT_EQ(halfwayAboveLargest.size(), 309u);

    for (const ReadCase& c : largestBoundaryCases()) {
        EXPECT_TRUE(readsAs(readStrict(c.text), c)) << "strict";
        EXPECT_TRUE(readsAs(readLenient(c.text), c)) << "lenient";
    }

    // Just below, a text reads as the nearest double as always.
    LocaleGuard restore;
    useCLocale();
    EXPECT_TRUE(readsAs(readStrict("1.79769313486231E+308"),
                        {"1.79769313486231E+308", parsedByC("1.79769313486231E+308")}));
}

TEST(LargestDouble, WrittenTextsReadBackWithTheirSign) {
    for (double x : {largest, -largest, std::nextafter(largest, 0.0)}) {
        const NumberText plain = plainNumberText(x);
        const NumberText signedText = signedNumberText(x);
        for (std::string_view text : {plain.view(), signedText.view()}) {
            const ReadCase want{std::string(text), std::copysign(largest, x)};
            EXPECT_TRUE(readsAs(readStrict(text), want));
        }
    }
}

// An amount counts the same in the total amount (lenient) as in the weighted
// totals (strict) whenever the strict reading takes it at all.
TEST(NumberTextReadings, LenientAgreesWithStrictWhereverStrictReads) {
    FailureLimit failures;
    const auto check = [&](std::string_view text) {
        const Reading strict = readStrict(text);
        if (strict.status == ReadStatus::conversionFailure)
            return;
        const Reading lenient = readLenient(text);
        const bool same =
            lenient.status == strict.status &&
            (!strict.ok() || (lenient.value == strict.value &&
                              std::signbit(lenient.value) == std::signbit(strict.value)));
        if (!same && failures.admit())
            ADD_FAILURE() << visible(text) << ": strict " << describe(strict.status) << " "
                          << describe(strict.value) << ", lenient " << describe(lenient.status)
                          << " " << describe(lenient.value);
    };
    for (const auto& cases : {strictCases(), longStrictCases(), largestBoundaryCases()})
        for (const ReadCase& c : cases)
            check(c.text);
    for (std::size_t i = 0; i < sample().size(); i += 7) {
        const NumberText plain = plainNumberText(sample()[i]);
        const NumberText signedText = signedNumberText(sample()[i]);
        check(plain.view());
        check(signedText.view());
    }
    EXPECT_EQ(failures.count(), 0);
}

// A German user's locale writes 1.5 as "1,5": nothing here may change with it.
TEST(NumberTextLocale, DecimalCommaLocaleChangesNoReadingAndNoText) {
    if (!hasNamedLocales)
        GTEST_SKIP() << "this C library has only the C locale";
    LocaleGuard restore;

    // Texts written and read under the C locale, to compare with.
    struct Written {
        double value;
        std::string plain;
        std::string signedText;
        double readBack;
    };
    std::vector<Written> underC;
    for (std::size_t i = 0; i < sample().size(); i += 10) {
        const double x = sample()[i];
        const NumberText plain = plainNumberText(x);
        underC.push_back({x, std::string(plain.view()), std::string(signedNumberText(x).view()),
                          readStrict(plain.view()).value});
    }

    ASSERT_TRUE(useDecimalCommaLocale());

    FailureLimit failures;
    for (const Written& w : underC) {
        const NumberText plain = plainNumberText(w.value);
        const NumberText signedText = signedNumberText(w.value);
        const bool same = plain.view() == w.plain && signedText.view() == w.signedText &&
                          readStrict(plain.view()).value == w.readBack &&
                          readLenient(signedText.view()).value == w.readBack;
        if (!same && failures.admit())
            ADD_FAILURE() << describe(w.value) << ": " << visible(plain.view()) << " "
                          << visible(signedText.view()) << ", under C " << visible(w.plain) << " "
                          << visible(w.signedText);
    }
    EXPECT_EQ(failures.count(), 0);

    for (const ReadCase& c : lenientCases())
        EXPECT_TRUE(readsAs(readLenient(c.text), c)) << "lenient";
    for (const ReadCase& c : strictCases())
        EXPECT_TRUE(readsAs(readStrict(c.text), c)) << "strict";
    for (const ReadCase& c : largestBoundaryCases()) {
        EXPECT_TRUE(readsAs(readStrict(c.text), c)) << "strict";
        EXPECT_TRUE(readsAs(readLenient(c.text), c)) << "lenient";
    }
    for (const WriteCase& c : signedCases)
        EXPECT_EQ(signedNumberText(c.value).view(), c.text);
    for (const WriteCase& c : plainCases)
        EXPECT_EQ(plainNumberText(c.value).view(), c.text);
}

} // namespace
