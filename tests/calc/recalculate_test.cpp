#include "recalculate.h"

#include "fieldid.h"
#include "graintable.h"
#include "localeguard.h"
#include "memoryfieldstore.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The one text a user is ever shown, spelt out here rather than taken from
// the code under test.
constexpr std::string_view message = "You need to enter some amounts";

constexpr std::size_t longestText = 32767;

using Amounts = std::vector<std::pair<FieldId, std::string>>;

struct Written {
    FieldId field;
    std::string_view text;
};

using Snapshot = std::array<std::string, fieldCount>;

Snapshot snapshot(const FieldStore& store) {
    Snapshot texts;
    for (std::size_t i = 0; i < fieldCount; ++i)
        texts[i] = store.readField(static_cast<FieldId>(i));
    return texts;
}

std::vector<std::string_view> namesOf(const std::vector<FieldId>& fields) {
    std::vector<std::string_view> names;
    for (FieldId id : fields)
        names.push_back(fieldName(id));
    return names;
}

void enter(MemoryFieldStore& store, const Amounts& amounts) {
    for (const auto& [field, text] : amounts)
        store.writeField(field, text);
}

// Runs one recalculation on `store` and checks everything it did: exactly the
// fields in `written` were written, in that order and with those texts; every
// other field, the user's amounts above all, kept its text; and the message
// was shown `messages` times.
void expectRun(MemoryFieldStore& store, const std::vector<Written>& written, std::size_t messages) {
    const Snapshot before = snapshot(store);
    const std::size_t messagesBefore = store.messages().size();
    const std::size_t writesBefore = store.writes().size();
    store.setRecordWrites(true);

    recalculate(store);

    store.setRecordWrites(false);
    const std::vector<FieldId> writes(store.writes().begin() + writesBefore, store.writes().end());

    std::vector<FieldId> order;
    Snapshot expected = before;
    for (const Written& w : written) {
        order.push_back(w.field);
        expected[index(w.field)] = w.text;
    }
    EXPECT_EQ(namesOf(writes), namesOf(order)) << "fields written, in order";
    const Snapshot after = snapshot(store);
    for (std::size_t i = 0; i < fieldCount; ++i)
        EXPECT_EQ("'" + after[i] + "'", "'" + expected[i] + "'")
            << fieldName(static_cast<FieldId>(i));
    ASSERT_EQ(store.messages().size(), messagesBefore + messages);
    for (std::size_t i = messagesBefore; i < store.messages().size(); ++i)
        EXPECT_EQ(store.messages()[i], message);
}

std::vector<Written> completeRun(std::string_view amount, std::array<std::string_view, 5> totals,
                                 std::array<std::string_view, 5> results) {
    return {
        {FieldId::amount, amount},        {FieldId::prototal, totals[0]},
        {FieldId::carbtotal, totals[1]},  {FieldId::watertotal, totals[2]},
        {FieldId::fibretotal, totals[3]}, {FieldId::fattotal, totals[4]},
        {FieldId::protein, results[0]},   {FieldId::carbo, results[1]},
        {FieldId::water, results[2]},     {FieldId::Fibre, results[3]},
        {FieldId::Fat, results[4]},
    };
}

std::vector<Written> amountAndTotals(std::string_view amount,
                                     std::array<std::string_view, 5> totals) {
    std::vector<Written> written = completeRun(amount, totals, {});
    written.resize(6);
    return written;
}

// Barley alone, in any amount, gives Barley's own composition.
constexpr std::array<std::string_view, 5> barleyResults = {"12.7", "66.6", "10.6", "5.4", "1.9"};
constexpr std::array<std::string_view, 5> barleyOneMaizeTwoResults = {
    "10.1666666666667", "68.1333333333333", "13.5333333333333", "3.13333333333333",
    "3.23333333333333"};

struct RunCase {
    std::string label;
    Amounts amounts;
    std::vector<Written> written;
    std::size_t messages = 0;
};

void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.label;
}

// Texts as long as a field holds that still read as small, plain amounts.
std::string longOne() {
    std::string text = "1.";
    text.append(longestText - text.size(), '0');
    return text;
}
std::string longOneThenLetter() {
    std::string text = longOne();
    text.back() = 'x';
    return text;
}
std::string longTwo() {
    return std::string(16000, ' ') + "2" + std::string(longestText - 16001, ' ');
}

std::vector<RunCase> completeRunCases() {
    std::vector<RunCase> cases = {
        {"Barley10",
         {{FieldId::Text1, "10"}},
         completeRun(" 10", {"127", "666", "106", "54", "19"}, barleyResults)},
        {"Barley1Maize2",
         {{FieldId::Text1, "1"}, {FieldId::Text2, "2"}},
         completeRun(" 3", {"30.5", "204.4", "40.6", "9.4", "9.7"}, barleyOneMaizeTwoResults)},
        // The amount and totals carry binary noise (0.1 + 0.2 is not 0.3);
        // dividing the 15-digit texts instead gives the same results as 1 and 2.
        {"Barley0point1Maize0point2",
         {{FieldId::Text1, "0.1"}, {FieldId::Text2, "0.2"}},
         completeRun(" .3", {"3.05", "20.44", "4.06", "0.94", "0.97"}, barleyOneMaizeTwoResults)},
        {"Peanuts3SoyBeans1",
         {{FieldId::Text17, "3"}, {FieldId::Text21, "1"}},
         completeRun(" 4", {"123.8", "69.4", "26.5", "12.5", "160.3"},
                     {"30.95", "17.35", "6.625", "3.125", "40.075"})},
        {"BlanksAroundSeven",
         {{FieldId::Text1, " 7 "}},
         completeRun(" 7", {"88.9", "466.2", "74.2", "37.8", "13.3"}, barleyResults)},
        {"SignPointAndExponent",
         {{FieldId::Text1, "+1e1"}, {FieldId::Text2, "-.0"}, {FieldId::Text3, "0."}},
         completeRun(" 10", {"127", "666", "106", "54", "19"}, barleyResults)},
        // Amounts are proportions: a negative total works like any other.
        {"NegativeAmount",
         {{FieldId::Text1, "8.9"}, {FieldId::Text2, "-12.7"}},
         completeRun("-3.8", {"0", "-282.29", "-96.16", "22.66", "-32.62"},
                     {"0", "74.2868421052632", "25.3052631578947", "-5.96315789473684",
                      "8.58421052631579"})},
        // 8.9 x 2^10 and -12.7 x 2^10 cancel exactly in protein, leaving only
        // the smallest subnormal's share: the quotient underflows to zero,
        // which is not a failure.
        {"QuotientUnderflows",
         {{FieldId::Text1, "9113.6"}, {FieldId::Text2, "-13004.8"}, {FieldId::Text16, "5e-324"}},
         completeRun("-3891.2",
                     {"5.92878775009496E-323", "-289064.96", "-98467.84", "23203.84", "-33402.88"},
                     {"0", "74.2868421052632", "25.3052631578947", "-5.96315789473684",
                      "8.58421052631579"})},
        // Stage two divides the totals and the amount as their 15-digit texts
        // show them, not the sums behind them: Barley alone then strays from
        // Barley's own composition in the last digit.
        {"SixteenDigitAmount",
         {{FieldId::Text1, "1234567890123456"}},
         completeRun(" 1.23456789012346E+15",
                     {"1.56790122045679E+16", "8.22222214822222E+16", "1.30864196353086E+16",
                      "6.66666660666666E+15", "2.34567899123457E+15"},
                     {"12.7", "66.5999999999998", "10.5999999999999", "5.39999999999998", "1.9"})},
        {"RecurringThrees",
         {{FieldId::Text1, "3.333333333333333333"}},
         completeRun(" 3.33333333333333",
                     {"42.3333333333333", "222", "35.3333333333333", "18", "6.33333333333333"},
                     {"12.7", "66.6000000000001", "10.6", "5.40000000000001", "1.9"})},
        {"HugeAmount",
         {{FieldId::Text1, "1e300"}},
         completeRun(" 1E+300", {"1.27E+301", "6.66E+301", "1.06E+301", "5.4E+300", "1.9E+300"},
                     barleyResults)},
        {"TinyAmount",
         {{FieldId::Text1, "1e-300"}},
         completeRun(" 1E-300", {"1.27E-299", "6.66E-299", "1.06E-299", "5.4E-300", "1.9E-300"},
                     barleyResults)},
        {"LongTexts",
         {{FieldId::Text1, longOne()}, {FieldId::Text2, longTwo()}},
         completeRun(" 3", {"30.5", "204.4", "40.6", "9.4", "9.7"}, barleyOneMaizeTwoResults)},
    };

    RunCase oneOfEach{"OneOfEveryGrain",
                      {},
                      completeRun(" 27", {"466.9", "1460.4", "288.6", "210.2", "287.3"},
                                  {"17.2925925925926", "54.0888888888889", "10.6888888888889",
                                   "7.78518518518518", "10.6407407407407"})};
    for (const GrainRow& row : grainTable)
        oneOfEach.amounts.emplace_back(row.field, "1");
    cases.push_back(std::move(oneOfEach));

    cases.push_back(
        {"EveryGrainVaried",
         {{FieldId::Text1, "12"},   {FieldId::Text2, "3.5"},   {FieldId::Text3, "0.25"},
          {FieldId::Text4, "7"},    {FieldId::Text5, "1.75"},  {FieldId::Text6, "20"},
          {FieldId::Text7, "2"},    {FieldId::Text8, "4.5"},   {FieldId::Text9, "0.5"},
          {FieldId::Text10, "1"},   {FieldId::Text11, "3"},    {FieldId::Text12, "6"},
          {FieldId::Text13, "2.5"}, {FieldId::Text14, "8"},    {FieldId::Text15, "15"},
          {FieldId::Text16, "10"},  {FieldId::Text17, "0.75"}, {FieldId::Text18, "5"},
          {FieldId::Text19, "1.5"}, {FieldId::Text20, "0.3"},  {FieldId::Text21, "2.25"},
          {FieldId::Text22, "9"},   {FieldId::Text23, "4"},    {FieldId::Text24, "3.25"},
          {FieldId::Text25, "11"},  {FieldId::Text26, "6.5"},  {FieldId::Text28, "0.125"}},
         completeRun(" 140.675", {"2072.62", "8699.895", "1434.65", "1040.84", "841.325"},
                     {"14.7333925715301", "61.8439310467389", "10.1983294828505",
                      "7.39889816953972", "5.9806291096499"})});
    return cases;
}

// A run on the form as a fresh window has it, every field "0".
class CompleteRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(CompleteRun, WritesAmountThenTotalsThenResultsInNutrientOrder) {
    MemoryFieldStore store;
    enter(store, GetParam().amounts);
    expectRun(store, GetParam().written, GetParam().messages);
}

INSTANTIATE_TEST_SUITE_P(Mixes, CompleteRun, ::testing::ValuesIn(completeRunCases()),
                         [](const auto& info) { return info.param.label; });

// Every output field holds a text from an earlier mix (3 of Peanuts, 1 of Soy
// Beans), so a field the run leaves alone shows.
MemoryFieldStore storeAfterAMix() {
    MemoryFieldStore store;
    enter(store, {{FieldId::Text17, "3"}, {FieldId::Text21, "1"}});
    recalculate(store);
    return store;
}

void replaceAmounts(MemoryFieldStore& store, const Amounts& amounts) {
    enter(store, {{FieldId::Text17, "0"}, {FieldId::Text21, "0"}});
    enter(store, amounts);
}

TEST(EarlierMix, HoldsTextsInEveryOutputField) {
    const MemoryFieldStore store = storeAfterAMix();
    EXPECT_EQ(store.readField(FieldId::prototal), "123.8");
    EXPECT_EQ(store.readField(FieldId::Fat), "40.075");
    EXPECT_TRUE(store.messages().empty());
}

class InterruptedRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(InterruptedRun, StopsAtTheFailureAndKeepsTheRest) {
    MemoryFieldStore store = storeAfterAMix();
    replaceAmounts(store, GetParam().amounts);
    expectRun(store, GetParam().written, GetParam().messages);
}

std::string fourHundredDigits() {
    std::string text = "1";
    text.append(399, '0');
    return text;
}

// The strict reading of the totals rejects what the lenient reading of the
// amount let through: the run ends after the amount, without a message.
std::vector<RunCase> conversionFailureCases() {
    const std::vector<Written> amount10 = {{FieldId::amount, " 10"}};
    std::vector<RunCase> cases = {
        {"Empty", {{FieldId::Text2, ""}}, amount10},
        {"Blanks", {{FieldId::Text2, "   "}}, amount10},
        {"LoneMinus", {{FieldId::Text2, "-"}}, amount10},
        {"LonePlus", {{FieldId::Text2, "+"}}, amount10},
        {"LonePoint", {{FieldId::Text2, "."}}, amount10},
        {"TrailingLetters", {{FieldId::Text2, "12abc"}}, {{FieldId::amount, " 22"}}},
        {"DecimalComma", {{FieldId::Text2, "1,5"}}, {{FieldId::amount, " 11"}}},
        {"InnerBlank", {{FieldId::Text2, "1 5"}}, {{FieldId::amount, " 25"}}},
        {"Tab", {{FieldId::Text2, "\t5"}}, {{FieldId::amount, " 15"}}},
        {"Hexadecimal", {{FieldId::Text2, "0x10"}}, amount10},
        {"Infinity", {{FieldId::Text2, "inf"}}, amount10},
        {"NotANumber", {{FieldId::Text2, "nan"}}, amount10},
        {"IncompleteExponent", {{FieldId::Text2, "1e"}}, {{FieldId::amount, " 11"}}},
        {"LastField", {{FieldId::Text28, ""}}, amount10},
        {"LongText", {{FieldId::Text2, longOneThenLetter()}}, {{FieldId::amount, " 11"}}},
    };
    for (RunCase& c : cases) {
        c.amounts.insert(c.amounts.begin(), std::pair<FieldId, std::string>(FieldId::Text1, "10"));
        c.label += "AfterBarley10";
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(ConversionFailures, InterruptedRun,
                         ::testing::ValuesIn(conversionFailureCases()),
                         [](const auto& info) { return info.param.label; });

// A value beyond the double range ends the run where it arises: in the
// amount nothing is written; in a nutrient's products or sum the totals
// before it are written and nothing after.
std::vector<RunCase> stageOneOverflowCases() {
    return {
        {"AmountReadingOverflows", {{FieldId::Text1, "10"}, {FieldId::Text2, "1e999"}}, {}},
        {"NegativeAmountOverflows", {{FieldId::Text1, "10"}, {FieldId::Text2, "-1e999"}}, {}},
        {"FourHundredDigits", {{FieldId::Text2, fourHundredDigits()}}, {}},
        {"AmountSumOverflows", {{FieldId::Text1, "1e308"}, {FieldId::Text2, "1e308"}}, {}},
        {"ProteinSumOverflows",
         {{FieldId::Text1, "1e307"}, {FieldId::Text2, "1e307"}},
         {{FieldId::amount, " 2E+307"}}},
        // 12.7e307 fits; 66.6e307 does not.
        {"CarbohydrateProductOverflows",
         {{FieldId::Text1, "1e307"}},
         {{FieldId::amount, " 1E+307"}, {FieldId::prototal, "1.27E+308"}}},
        {"CarbohydrateSumOverflows",
         {{FieldId::Text1, "1.5e306"}, {FieldId::Text2, "1.5e306"}},
         {{FieldId::amount, " 3E+306"}, {FieldId::prototal, "3.24E+307"}}},
        // Fat, 47.6%, is the largest of Peanuts' percentages.
        {"FatProductOverflows",
         {{FieldId::Text17, "5e306"}},
         {{FieldId::amount, " 5E+306"},
          {FieldId::prototal, "1.51E+308"},
          {FieldId::carbtotal, "5.8E+307"},
          {FieldId::watertotal, "2.75E+307"},
          {FieldId::fibretotal, "1.4E+307"}}},
    };
}

INSTANTIATE_TEST_SUITE_P(StageOneOverflows, InterruptedRun,
                         ::testing::ValuesIn(stageOneOverflowCases()),
                         [](const auto& info) { return info.param.label; });

// A zero amount fails the first division, protein's. Zero by zero shows the
// message; anything else by zero ends the run quietly. Either way no result
// field changes.
std::vector<RunCase> zeroAmountCases() {
    return {
        {"AllBackToZero", {}, amountAndTotals(" 0", {"0", "0", "0", "0", "0"}), 1},
        {"Barley5MaizeMinus5",
         {{FieldId::Text1, "5"}, {FieldId::Text2, "-5"}},
         amountAndTotals(" 0", {"19", "-11.5", "-22", "17", "-10"}),
         0},
        // Buckwheat and Milo both hold 11.3% protein, so protein alone cancels.
        {"Buckwheat1MiloMinus1",
         {{FieldId::Text5, "1"}, {FieldId::Text14, "-1"}},
         amountAndTotals(" 0", {"0", "-2.09999999999999", "3.4", "12.2", "-0.3"}),
         1},
        {"NegativeZero",
         {{FieldId::Text1, "-0"}},
         amountAndTotals(" 0", {"0", "0", "0", "0", "0"}),
         1},
    };
}

INSTANTIATE_TEST_SUITE_P(ZeroAmount, InterruptedRun, ::testing::ValuesIn(zeroAmountCases()),
                         [](const auto& info) { return info.param.label; });

// A tiny amount under huge, cancelling amounts: the quotient overflows, the
// message shows, and that result field and those after it keep their texts.
std::vector<RunCase> quotientOverflowCases() {
    std::vector<Written> proteinOverflows = amountAndTotals(
        " 1E-300", {"3.8E+300", "-2.30000000000002E+300", "-4.4E+300", "3.4E+300", "-2E+300"});
    // Buckwheat and Milo cancel in protein only, so protein still divides.
    std::vector<Written> carbohydrateOverflows = amountAndTotals(
        " 1E-300", {"1.2E-299", "-2.09999999999999E+300", "3.4E+300", "1.22E+301", "-3E+299"});
    carbohydrateOverflows.push_back({FieldId::protein, "12"});
    return {
        {"Protein",
         {{FieldId::Text1, "1e300"}, {FieldId::Text2, "-1e300"}, {FieldId::Text16, "1e-300"}},
         proteinOverflows,
         1},
        {"Carbohydrate",
         {{FieldId::Text5, "1e300"}, {FieldId::Text14, "-1e300"}, {FieldId::Text16, "1e-300"}},
         carbohydrateOverflows,
         1},
    };
}

INSTANTIATE_TEST_SUITE_P(QuotientOverflow, InterruptedRun,
                         ::testing::ValuesIn(quotientOverflowCases()),
                         [](const auto& info) { return info.param.label; });

TEST(Recalculation, FreshFormShowsTheMessageAndChangesNoResult) {
    MemoryFieldStore store;
    expectRun(store, amountAndTotals(" 0", {"0", "0", "0", "0", "0"}), 1);
}

TEST(Recalculation, ShowsTheMessageAgainOnEveryAllZeroRun) {
    MemoryFieldStore store = storeAfterAMix();
    replaceAmounts(store, {});
    recalculate(store);
    recalculate(store);
    recalculate(store);
    EXPECT_EQ(store.messages().size(), 3u);
}

// Typing 10 into Barley, then a minus sign and 5 into Maize: every key
// starts a run from scratch, and a failed run leaves nothing behind.
TEST(Recalculation, EachKeyRecomputesFromScratch) {
    MemoryFieldStore store;
    enter(store, {{FieldId::Text1, "1"}});
    expectRun(store, completeRun(" 1", {"12.7", "66.6", "10.6", "5.4", "1.9"}, barleyResults), 0);
    enter(store, {{FieldId::Text1, "10"}});
    expectRun(store, completeRun(" 10", {"127", "666", "106", "54", "19"}, barleyResults), 0);
    enter(store, {{FieldId::Text2, "-"}});
    expectRun(store, {{FieldId::amount, " 10"}}, 0);
    enter(store, {{FieldId::Text2, "-5"}});
    expectRun(store,
              completeRun(" 5", {"82.5", "321.5", "31", "44", "-0.5"},
                          {"16.5", "64.3", "6.2", "8.8", "-0.1"}),
              0);
}

// A German user's locale writes 1.5 as "1,5"; the fields must not change.
TEST(Recalculation, DecimalCommaLocaleChangesNoText) {
    if (!hasNamedLocales)
        GTEST_SKIP() << "this C library has only the C locale";
    LocaleGuard restore;
    ASSERT_TRUE(useDecimalCommaLocale());

    for (const RunCase& c : completeRunCases()) {
        SCOPED_TRACE(c.label);
        MemoryFieldStore store;
        enter(store, c.amounts);
        expectRun(store, c.written, c.messages);
    }
    MemoryFieldStore store;
    enter(store, {{FieldId::Text1, "10"}, {FieldId::Text2, "1,5"}});
    expectRun(store, {{FieldId::amount, " 11"}}, 0);
}

} // namespace
