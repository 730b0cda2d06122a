#include "fieldid.h"

#include <array>

namespace {
constexpr std::array<std::string_view, fieldCount> names = {
    "Text1",    "Text2",   "Text3",  "Text4",  "Text5",    "Text6",     "Text7",      "Text8",
    "Text9",    "Text10",  "Text11", "Text12", "Text13",   "Text14",    "Text15",     "Text16",
    "Text17",   "Text18",  "Text19", "Text20", "Text21",   "Text22",    "Text23",     "Text24",
    "Text25",   "Text26",  "Text28", "amount", "prototal", "carbtotal", "watertotal", "fibretotal",
    "fattotal", "protein", "carbo",  "water",  "Fibre",    "Fat",
};
} // namespace

std::string_view fieldName(FieldId id) {
    return names[index(id)];
}
