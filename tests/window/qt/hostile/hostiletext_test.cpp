#include "hostilewindowtest.h"

#include <ostream>
#include <string_view>
#include <vector>

namespace {

struct Step {
    const char* field;
    Entry how;
    std::u16string_view text;
    std::u16string_view expected; // what the field holds afterwards
};

// Each case starts from Barley = 10 (amount ' 10', protein '12.7'), so that a
// text the sums cannot use shows by leaving those figures on screen.
struct HostileCase {
    const char* name;
    std::vector<Step> steps;
    const char* amount;
    const char* protein;
    int messages = 0;
};

void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.name;
}

class QtHostileText : public HostileWindowTest,
                      public ::testing::WithParamInterface<HostileCase> {};

TEST_P(QtHostileText, KeepsTheTextAndTheFiguresOfTheLastCompleteRun) {
    const HostileCase& c = GetParam();
    enter("Text1", Entry::typeOverAll, "10", "10");
    expectWindowMatchesCore();
    for (const Step& step : c.steps) {
        SCOPED_TRACE(step.field);
        enter(step.field, step.how, utf16(step.text), utf16(step.expected));
        expectWindowMatchesCore();
    }
    // Known figures, so that the core's copy cannot drift with the window.
    EXPECT_EQ(textOf("amount"), c.amount);
    EXPECT_EQ(textOf("protein"), c.protein);
    EXPECT_EQ(static_cast<int>(m_dismisser.texts().size()), c.messages);
}

using enum Entry;
using namespace std::string_view_literals;

const HostileCase pastedCases[] = {
    {"ArabicIndicDigit", {{"Text2", pasteOverAll, u"٣", u"٣"}}, " 10", "12.7"},
    {"ArabicIndicNumber", {{"Text2", pasteOverAll, u"١٢٣", u"١٢٣"}}, " 10", "12.7"},
    {"FullWidthDigit", {{"Text2", pasteOverAll, u"３", u"３"}}, " 10", "12.7"},
    {"AsciiThenFullWidthDigit", {{"Text2", pasteOverAll, u"5３", u"5３"}}, " 15", "12.7"},
    {"NoBreakSpaceInside", {{"Text2", pasteOverAll, u"1\u00a0000", u"1\u00a0000"}}, " 11", "12.7"},
    {"NoBreakSpacesAround",
     {{"Text2", pasteOverAll, u"\u00a05\u00a0", u"\u00a05\u00a0"}},
     " 10",
     "12.7"},
    {"TabInside", {{"Text2", pasteOverAll, u"1\t5", u"1\t5"}}, " 25", "12.7"},
    {"ControlCharacters",
     {{"Text2", pasteOverAll, u"5\x1b\x01\x7f", u"5\x1b\x01\x7f"}},
     " 15",
     "12.7"},
    {"CarriageReturnAfter", {{"Text2", pasteOverAll, u"5\r", u"5\r"}}, " 15", "12.7"},
    {"CarriageReturnLineFeedInside",
     {{"Text2", pasteOverAll, u"1\r\n2", u"1\r\n2"}},
     " 11",
     "12.7"},
    {"RightToLeftMarkFirst", {{"Text2", pasteOverAll, u"\u200f5", u"\u200f5"}}, " 10", "12.7"},
    {"RightToLeftMarkAfter", {{"Text2", pasteOverAll, u"5\u200f", u"5\u200f"}}, " 15", "12.7"},
    {"RightToLeftOverride", {{"Text2", pasteOverAll, u"\u202e51", u"\u202e51"}}, " 10", "12.7"},
    {"HebrewWord", {{"Text2", pasteOverAll, u"שלום", u"שלום"}}, " 10", "12.7"},
    {"ArabicWordAfterDigit", {{"Text2", pasteOverAll, u"٥ كغ", u"٥ كغ"}}, " 10", "12.7"},
    {"Emoji", {{"Text2", pasteOverAll, u"🌾", u"🌾"}}, " 10", "12.7"},
    {"DigitThenEmoji", {{"Text2", pasteOverAll, u"5🌾", u"5🌾"}}, " 15", "12.7"},
    {"ZeroWidthSpaceAfter", {{"Text2", pasteOverAll, u"5\u200b", u"5\u200b"}}, " 15", "12.7"},
    {"ByteOrderMarkFirst", {{"Text2", pasteOverAll, u"\ufeff5", u"\ufeff5"}}, " 10", "12.7"},
    {"CombiningAccent", {{"Text2", pasteOverAll, u"5\u0301", u"5\u0301"}}, " 15", "12.7"},
    {"EmbeddedNul",
     {{"Text2", pasteOverAll,
       u"5\0"
       u"5"sv,
       u"5\0"
       u"5"sv}},
     " 15",
     "12.7"},
    {"AppendedToTheZero", {{"Text2", pasteAtEnd, u"٣🌾", u"0٣🌾"}}, " 10", "12.7"},
    // Blanks around a number are allowed: a full run.
    {"BlanksAroundANumber", {{"Text2", pasteOverAll, u" 7 ", u" 7 "}}, " 17", "11.1352941176471"},
    // Zeros end the mix: the message, and the figures stay.
    {"ZerosOverTheOnlyAmount", {{"Text1", pasteOverAll, u"000", u"000"}}, " 0", "12.7", 1},
};

// A key gives one code point; Return and control characters give none.
const HostileCase typedCases[] = {
    {"ArabicIndicDigits", {{"Text2", typeOverAll, u"٣٤", u"٣٤"}}, " 10", "12.7"},
    {"FullWidthDigits", {{"Text2", typeOverAll, u"３４", u"３４"}}, " 10", "12.7"},
    {"DigitThenFullWidthDigit",
     {{"Text2", typeOverAll, u"2３", u"2３"}},
     " 12",
     "12.0666666666667"},
    {"NoBreakSpaceAfterTheZero", {{"Text2", typeAtEnd, u"\u00a0", u"0\u00a0"}}, " 10", "12.7"},
    {"RightToLeftMarkThenDigit", {{"Text2", typeOverAll, u"\u200f5", u"\u200f5"}}, " 10", "12.7"},
    {"HebrewLetters", {{"Text2", typeOverAll, u"אב", u"אב"}}, " 10", "12.7"},
    {"EmojiThenDigit", {{"Text2", typeOverAll, u"🌾5", u"🌾5"}}, " 10", "12.7"},
    {"ReturnChangesNothing", {{"Text2", pressReturn, u"", u"0"}}, " 10", "12.7"},
    {"ReturnAfterADigit",
     {{"Text2", typeAtEnd, u"3", u"03"}, {"Text2", pressReturn, u"", u"03"}},
     " 13",
     "11.8230769230769"},
    // Mended after the odd character: a full run again.
    {"FullWidthDigitMended",
     {{"Text2", typeOverAll, u"３", u"３"}, {"Text2", typeOverAll, u"3", u"3"}},
     " 13",
     "11.8230769230769"},
};

// What no keyboard gives: NULs and UTF-16 that is not well formed.
const HostileCase writtenCases[] = {
    {"LoneHighSurrogate", {{"Text2", setText, u"\xd800", u"\xd800"}}, " 10", "12.7"},
    {"DigitThenLoneHighSurrogate", {{"Text2", setText, u"5\xd83c", u"5\xd83c"}}, " 15", "12.7"},
    {"LoneLowSurrogateThenDigit",
     {{"Text2", setText,
       u"\xdc00"
       u"5",
       u"\xdc00"
       u"5"}},
     " 10",
     "12.7"},
    {"SwappedSurrogatePair", {{"Text2", setText, u"\xdf3e\xd83c", u"\xdf3e\xd83c"}}, " 10", "12.7"},
    {"NulInside",
     {{"Text2", setText,
       u"1\0"
       u"2"sv,
       u"1\0"
       u"2"sv}},
     " 11",
     "12.7"},
    {"OnlyNul", {{"Text2", setText, u"\0"sv, u"\0"sv}}, " 10", "12.7"},
    {"NulThenDigit",
     {{"Text2", setText,
       u"\0"
       u"5"sv,
       u"\0"
       u"5"sv}},
     " 10",
     "12.7"},
};

// An emptied field reads as 0 for the amount and is no number for the sums.
const HostileCase erasedCases[] = {
    {"SelectAllThenBackspace", {{"Text2", selectAllBackspace, u"", u""}}, " 10", "12.7"},
    {"BackspaceToEmpty",
     {{"Text2", typeOverAll, u"25", u"25"}, {"Text2", backspaceToEmpty, u"", u""}},
     " 10",
     "12.0666666666667"},
    {"TheOnlyAmountBackspacedToEmpty", {{"Text1", backspaceToEmpty, u"", u""}}, " 0", "12.7"},
    {"EmptiedThenTyped",
     {{"Text2", selectAllBackspace, u"", u""}, {"Text2", typeAtEnd, u"3", u"3"}},
     " 13",
     "11.8230769230769"},
    {"EveryKeyOfALongerNumber",
     {{"Text2", typeOverAll, u"1.5e2", u"1.5e2"}, {"Text2", backspaceToEmpty, u"", u""}},
     " 10",
     "12.3545454545455"},
};

auto caseName = [](const auto& info) { return std::string(info.param.name); };

INSTANTIATE_TEST_SUITE_P(Pasted, QtHostileText, ::testing::ValuesIn(pastedCases), caseName);
INSTANTIATE_TEST_SUITE_P(Typed, QtHostileText, ::testing::ValuesIn(typedCases), caseName);
INSTANTIATE_TEST_SUITE_P(Written, QtHostileText, ::testing::ValuesIn(writtenCases), caseName);
INSTANTIATE_TEST_SUITE_P(Erased, QtHostileText, ::testing::ValuesIn(erasedCases), caseName);

} // namespace
