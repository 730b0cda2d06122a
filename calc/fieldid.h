#pragma once

#include "nutrient.h"

#include <cstddef>
#include <iterator>
#include <string_view>

// The window's fields by control name. There is no Text27 among the amounts:
// that control holds the instructions.
enum class FieldId {
    Text1,
    Text2,
    Text3,
    Text4,
    Text5,
    Text6,
    Text7,
    Text8,
    Text9,
    Text10,
    Text11,
    Text12,
    Text13,
    Text14,
    Text15,
    Text16,
    Text17,
    Text18,
    Text19,
    Text20,
    Text21,
    Text22,
    Text23,
    Text24,
    Text25,
    Text26,
    Text28,
    amount,
    prototal,
    carbtotal,
    watertotal,
    fibretotal,
    fattotal,
    protein,
    carbo,
    water,
    Fibre,
    Fat,
};

inline constexpr std::size_t fieldCount = static_cast<std::size_t>(FieldId::Fat) + 1;

constexpr std::size_t index(FieldId id) {
    return static_cast<std::size_t>(id);
}

namespace detail {
inline constexpr std::string_view fieldNames[] = {
    "Text1",    "Text2",   "Text3",  "Text4",  "Text5",    "Text6",     "Text7",      "Text8",
    "Text9",    "Text10",  "Text11", "Text12", "Text13",   "Text14",    "Text15",     "Text16",
    "Text17",   "Text18",  "Text19", "Text20", "Text21",   "Text22",    "Text23",     "Text24",
    "Text25",   "Text26",  "Text28", "amount", "prototal", "carbtotal", "watertotal", "fibretotal",
    "fattotal", "protein", "carbo",  "water",  "Fibre",    "Fat",
};
static_assert(std::size(fieldNames) == fieldCount);
} // namespace detail

// The control name, as the window and its tests know the field.
constexpr std::string_view fieldName(FieldId id) {
    return detail::fieldNames[index(id)];
}

// Each nutrient owns one hidden total and one result field.
constexpr FieldId totalField(Nutrient n) {
    return static_cast<FieldId>(index(FieldId::prototal) + index(n));
}
constexpr FieldId resultField(Nutrient n) {
    return static_cast<FieldId>(index(FieldId::protein) + index(n));
}
