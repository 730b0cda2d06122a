#include "graintable.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <ostream>
#include <set>
#include <string>
#include <string_view>

namespace {

struct ExpectedRow {
    FieldId field;
    std::string_view name;
    std::array<double, nutrientCount> percent; // protein, carbohydrate, water, fibre, fat
};

// The published composition of each grain, in the order a mix adds them up.
constexpr ExpectedRow expectedRows[] = {
    {FieldId::Text1, "Barley", {12.7, 66.6, 10.6, 5.4, 1.9}},
    {FieldId::Text2, "Maize", {8.9, 68.9, 15.0, 2.0, 3.9}},
    {FieldId::Text3, "Maple Peas", {22.5, 59.1, 14.0, 5.4, 0.9}},
    {FieldId::Text4, "Acorns", {5.7, 61.6, 15.0, 11.6, 4.1}},
    {FieldId::Text5, "Buckwheat", {11.3, 69.2, 14.0, 14.4, 2.6}},
    {FieldId::Text6, "Canary", {17.2, 59.1, 7.0, 5.7, 5.5}},
    {FieldId::Text7, "Cow Peas", {23.8, 57.1, 9.8, 4.3, 1.4}},
    {FieldId::Text8, "Field Peas", {25.2, 57.8, 9.2, 5.6, 1.1}},
    {FieldId::Text9, "Linseed (Flax)", {24.2, 28.4, 7.2, 5.5, 36.5}},
    {FieldId::Text10, "Hemp", {18.3, 36.2, 9.0, 14.8, 32.6}},
    {FieldId::Text11, "Horse Beans", {25.7, 48.8, 12.5, 8.2, 1.4}},
    {FieldId::Text12, "Kafir Corn", {11.2, 71.1, 11.1, 2.3, 2.9}},
    {FieldId::Text13, "Lentils", {25.7, 57.5, 8.4, 1.7, 1.0}},
    {FieldId::Text14, "Milo", {11.3, 71.3, 10.6, 2.2, 2.9}},
    {FieldId::Text15, "Millet Seed", {11.8, 64.7, 9.1, 7.8, 3.3}},
    {FieldId::Text16, "Oats", {12.0, 68.3, 9.8, 11.0, 4.6}},
    {FieldId::Text17, "Peanuts", {30.2, 11.6, 5.5, 2.8, 47.6}},
    {FieldId::Text18, "Rice, unhulled", {7.4, 64.3, 12.0, 9.3, 2.6}},
    {FieldId::Text19, "Rice, polished", {6.7, 79.5, 12.6, 1.5, 0.4}},
    {FieldId::Text20, "Rapeseed", {19.4, 16.4, 14.0, 7.8, 38.5}},
    {FieldId::Text21, "Soy Beans", {33.2, 34.6, 10.0, 4.1, 17.5}},
    {FieldId::Text22, "Sunflower Seeds", {14.2, 42.6, 7.5, 28.1, 32.3}},
    {FieldId::Text23, "Tic Beans", {25.4, 53.3, 14.3, 7.1, 1.5}},
    {FieldId::Text24, "Vetch", {20.0, 55.8, 13.2, 6.0, 1.7}},
    {FieldId::Text25, "Wheat", {15.2, 70.9, 10.4, 2.6, 1.8}},
    {FieldId::Text26, "Popcorn", {12.1, 69.7, 11.0, 2.0, 5.2}},
    {FieldId::Text28, "Safflower Seeds", {15.6, 16.0, 5.8, 31.0, 31.6}},
};

constexpr const char* nutrientNames[] = {"protein", "carbohydrate", "water", "fibre", "fat"};

const GrainRow* rowNamed(std::string_view name) {
    for (const GrainRow& row : grainTable)
        if (row.name == name)
            return &row;
    return nullptr;
}

TEST(GrainTable, HasExactly27Rows) {
    EXPECT_EQ(grainTable.size(), 27u);
    EXPECT_EQ(std::size(expectedRows), grainTable.size());
}

class GrainTableRow : public ::testing::TestWithParam<std::size_t> {};

TEST_P(GrainTableRow, HasItsFieldNameAndPercentagesInAddingOrder) {
    const ExpectedRow& want = expectedRows[GetParam()];
    const GrainRow& row = grainTable[GetParam()];
    EXPECT_EQ(row.field, want.field)
        << fieldName(row.field) << " instead of " << fieldName(want.field);
    EXPECT_EQ(row.name, want.name);
    for (Nutrient n : allNutrients) {
        // Exactly the double nearest the listed value: no normalising.
        EXPECT_EQ(row.percentOf(n), want.percent[index(n)])
            << want.name << " " << nutrientNames[index(n)];
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, GrainTableRow, ::testing::Range<std::size_t>(0, grainCount));

TEST(GrainTable, NamesEachInputFieldOnceAndNoText27) {
    std::set<std::string> names;
    for (const GrainRow& row : grainTable)
        EXPECT_TRUE(names.insert(std::string(fieldName(row.field))).second)
            << fieldName(row.field) << " appears twice";

    std::set<std::string> expected;
    for (int i = 1; i <= 26; ++i)
        expected.insert(std::string("Text").append(std::to_string(i)));
    expected.insert("Text28");
    EXPECT_EQ(names, expected);
}

struct WholePercentage {
    std::string_view grain;
    Nutrient nutrient;
    double value;
};

void PrintTo(const WholePercentage& c, std::ostream* os) {
    *os << c.grain << " " << nutrientNames[index(c.nutrient)] << " " << c.value;
}

// Values listed as 20.0 are percentages like any other, not markers or
// defaults.
constexpr WholePercentage wholePercentages[] = {
    {"Vetch", Nutrient::protein, 20.0},
    {"Maize", Nutrient::fibre, 2.0},
    {"Lentils", Nutrient::fat, 1.0},
    {"Popcorn", Nutrient::fibre, 2.0},
    {"Maize", Nutrient::water, 15.0},
    {"Oats", Nutrient::protein, 12.0},
    {"Oats", Nutrient::fibre, 11.0},
    {"Soy Beans", Nutrient::water, 10.0},
    {"Canary", Nutrient::water, 7.0},
    {"Hemp", Nutrient::water, 9.0},
    {"Vetch", Nutrient::fibre, 6.0},
    {"Rice, unhulled", Nutrient::water, 12.0},
    {"Popcorn", Nutrient::water, 11.0},
    {"Safflower Seeds", Nutrient::carbohydrate, 16.0},
    {"Safflower Seeds", Nutrient::fibre, 31.0},
};

class WholeNumberPercentage : public ::testing::TestWithParam<WholePercentage> {};

TEST_P(WholeNumberPercentage, IsTheListedValue) {
    const GrainRow* row = rowNamed(GetParam().grain);
    ASSERT_NE(row, nullptr) << GetParam().grain;
    EXPECT_EQ(row->percentOf(GetParam().nutrient), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Grains, WholeNumberPercentage, ::testing::ValuesIn(wholePercentages));

// A shifted column or a swapped value shows up in the rows' sums, which run
// from 94.3 for Lentils to 124.7 for Sunflower Seeds.
TEST(GrainTable, RowSumsRunFromLentilsToSunflowerSeeds) {
    const auto sumOf = [](const GrainRow& row) {
        double sum = 0;
        for (Nutrient n : allNutrients)
            sum += row.percentOf(n);
        return sum;
    };
    const GrainRow* lowest = &grainTable.front();
    const GrainRow* highest = &grainTable.front();
    for (const GrainRow& row : grainTable) {
        if (sumOf(row) < sumOf(*lowest))
            lowest = &row;
        if (sumOf(row) > sumOf(*highest))
            highest = &row;
    }
    EXPECT_EQ(lowest->name, "Lentils");
    EXPECT_NEAR(sumOf(*lowest), 94.3, 1e-9);
    EXPECT_EQ(highest->name, "Sunflower Seeds");
    EXPECT_NEAR(sumOf(*highest), 124.7, 1e-9);
}

TEST(GrainTable, FindsTheRowOfEachInputFieldAndNoOther) {
    for (const GrainRow& row : grainTable)
        EXPECT_EQ(grainRowFor(row.field), &row) << fieldName(row.field);
    for (FieldId id : {FieldId::amount, FieldId::prototal, FieldId::carbtotal, FieldId::watertotal,
                       FieldId::fibretotal, FieldId::fattotal, FieldId::protein, FieldId::carbo,
                       FieldId::water, FieldId::Fibre, FieldId::Fat})
        EXPECT_EQ(grainRowFor(id), nullptr) << fieldName(id);
}

struct NutrientFields {
    Nutrient nutrient;
    std::string_view total;
    std::string_view result;
};

void PrintTo(const NutrientFields& c, std::ostream* os) {
    *os << nutrientNames[index(c.nutrient)];
}

// The window finds its fields by these control names, mixed case and all.
constexpr NutrientFields nutrientFields[] = {
    {Nutrient::protein, "prototal", "protein"}, {Nutrient::carbohydrate, "carbtotal", "carbo"},
    {Nutrient::water, "watertotal", "water"},   {Nutrient::fibre, "fibretotal", "Fibre"},
    {Nutrient::fat, "fattotal", "Fat"},
};

class NutrientFieldNames : public ::testing::TestWithParam<NutrientFields> {};

TEST_P(NutrientFieldNames, BindEachNutrientToItsTotalAndResult) {
    EXPECT_EQ(fieldName(totalField(GetParam().nutrient)), GetParam().total);
    EXPECT_EQ(fieldName(resultField(GetParam().nutrient)), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Nutrients, NutrientFieldNames, ::testing::ValuesIn(nutrientFields));

} // namespace
