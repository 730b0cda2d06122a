#include "hostilewindowtest.h"

#include <optional>
#include <ostream>
#include <string_view>

namespace {

// Text entered into a field without a handler starts nothing; the next run
// that gets as far as that field overwrites it, any other leaves it.
struct OtherFieldCase {
    const char* name;
    const char* field;
    Entry how;
    std::u16string_view text;
    const char* thenInto; // an amount field, with the text pasted over it
    std::u16string_view thenText;
    std::optional<std::u16string_view> afterwards; // none: still what was entered
};

void PrintTo(const OtherFieldCase& c, std::ostream* os) {
    *os << c.name;
}

class QtOtherFields : public HostileWindowTest,
                      public ::testing::WithParamInterface<OtherFieldCase> {};

TEST_P(QtOtherFields, StartNothingAndKeepTheirTextUntilARunWritesThem) {
    const OtherFieldCase& c = GetParam();
    enter("Text1", Entry::typeOverAll, "10", "10");

    const QString before = shownText(c.field);
    const bool overAll = c.how == Entry::pasteOverAll || c.how == Entry::typeOverAll;
    const QString entered = overAll ? utf16(c.text) : before + utf16(c.text);
    enter(c.field, c.how, utf16(c.text), entered);
    expectWindowMatchesCore();

    enter(c.thenInto, Entry::pasteOverAll, utf16(c.thenText), utf16(c.thenText));
    if (c.afterwards)
        m_entered.erase(c.field); // the run took the field over
    expectWindowMatchesCore();
    const QString shown = shownText(c.field);
    const QString expected = c.afterwards ? utf16(*c.afterwards) : entered;
    EXPECT_TRUE(shown == expected) << describeDifference(shown, expected);
}

using enum Entry;

const OtherFieldCase otherFieldCases[] = {
    {"AmountOverwrittenByAFullRun", "amount", typeOverAll, u"٣x", "Text3", u"5", u" 15"},
    {"AmountOverwrittenByARunThatStopsLater", "amount", typeAtEnd, u"🌾", "Text3", u"5abc", u" 15"},
    // The amount itself is beyond any double: nothing is written.
    {"AmountKeptByARunThatStopsAtOnce", "amount", typeOverAll, u"abc", "Text3", u"1e999", {}},
    {"ProteinOverwrittenByAFullRun", "protein", typeOverAll, u"abc", "Text3", u"5",
     u"15.9666666666667"},
    {"ProteinKeptByAStoppedRun", "protein", typeAtEnd, u"🌾\u200f", "Text3", u"abc", {}},
    {"FatPastedOverAndOverwritten", "Fat", pasteOverAll, u"\u202e１٢\r\n", "Text3", u"5",
     u"1.56666666666667"},
    {"WaterKeptWhenTheMixIsEmptied", "water", typeOverAll, u"?", "Text1", u"0", {}},
    {"InstructionsTypedInto", "Text27", typeAtEnd, u"٣🌾\u200f5", "Text3", u"5", {}},
    {"ReturnInTheInstructions", "Text27", pressReturn, u"\n", "Text3", u"5", {}},
    {"InstructionsPastedOver", "Text27", pasteOverAll, u"1\n2٣🌾", "Text3", u"5", {}},
};

INSTANTIATE_TEST_SUITE_P(Fields, QtOtherFields, ::testing::ValuesIn(otherFieldCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
