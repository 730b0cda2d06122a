#pragma once

#include "fieldid.h"
#include "nutrient.h"

#include <array>
#include <cstddef>
#include <string_view>

// One grain or seed: the amount field bound to it, its name, and the
// percentage of each nutrient it brings to a mix, in Nutrient order.
struct GrainRow {
    FieldId field;
    std::string_view name;
    std::array<double, nutrientCount> percent;

    double percentOf(Nutrient n) const { return percent[index(n)]; }
};

inline constexpr std::size_t grainCount = 27;

// The order in which a mix adds up its rows. The window shows the grains in
// alphabetical order instead. The values are used as listed: a row's five
// percentages need not add up to 100.
inline constexpr std::array<GrainRow, grainCount> grainTable = {{
    // clang-format off
    {FieldId::Text1,  "Barley",          {12.7, 66.6, 10.6,  5.4,  1.9}},
    {FieldId::Text2,  "Maize",           { 8.9, 68.9, 15.0,  2.0,  3.9}},
    {FieldId::Text3,  "Maple Peas",      {22.5, 59.1, 14.0,  5.4,  0.9}},
    {FieldId::Text4,  "Acorns",          { 5.7, 61.6, 15.0, 11.6,  4.1}},
    {FieldId::Text5,  "Buckwheat",       {11.3, 69.2, 14.0, 14.4,  2.6}},
    {FieldId::Text6,  "Canary",          {17.2, 59.1,  7.0,  5.7,  5.5}},
    {FieldId::Text7,  "Cow Peas",        {23.8, 57.1,  9.8,  4.3,  1.4}},
    {FieldId::Text8,  "Field Peas",      {25.2, 57.8,  9.2,  5.6,  1.1}},
    {FieldId::Text9,  "Linseed (Flax)",  {24.2, 28.4,  7.2,  5.5, 36.5}},
    {FieldId::Text10, "Hemp",            {18.3, 36.2,  9.0, 14.8, 32.6}},
    {FieldId::Text11, "Horse Beans",     {25.7, 48.8, 12.5,  8.2,  1.4}},
    {FieldId::Text12, "Kafir Corn",      {11.2, 71.1, 11.1,  2.3,  2.9}},
    {FieldId::Text13, "Lentils",         {25.7, 57.5,  8.4,  1.7,  1.0}},
    {FieldId::Text14, "Milo",            {11.3, 71.3, 10.6,  2.2,  2.9}},
    {FieldId::Text15, "Millet Seed",     {11.8, 64.7,  9.1,  7.8,  3.3}},
    {FieldId::Text16, "Oats",            {12.0, 68.3,  9.8, 11.0,  4.6}},
    {FieldId::Text17, "Peanuts",         {30.2, 11.6,  5.5,  2.8, 47.6}},
    {FieldId::Text18, "Rice, unhulled",  { 7.4, 64.3, 12.0,  9.3,  2.6}},
    {FieldId::Text19, "Rice, polished",  { 6.7, 79.5, 12.6,  1.5,  0.4}},
    {FieldId::Text20, "Rapeseed",        {19.4, 16.4, 14.0,  7.8, 38.5}},
    {FieldId::Text21, "Soy Beans",       {33.2, 34.6, 10.0,  4.1, 17.5}},
    {FieldId::Text22, "Sunflower Seeds", {14.2, 42.6,  7.5, 28.1, 32.3}},
    {FieldId::Text23, "Tic Beans",       {25.4, 53.3, 14.3,  7.1,  1.5}},
    {FieldId::Text24, "Vetch",           {20.0, 55.8, 13.2,  6.0,  1.7}},
    {FieldId::Text25, "Wheat",           {15.2, 70.9, 10.4,  2.6,  1.8}},
    {FieldId::Text26, "Popcorn",         {12.1, 69.7, 11.0,  2.0,  5.2}},
    {FieldId::Text28, "Safflower Seeds", {15.6, 16.0,  5.8, 31.0, 31.6}},
    // clang-format on
}};

// The row whose amount a field holds, or nullptr for any other field.
const GrainRow* grainRowFor(FieldId id);
