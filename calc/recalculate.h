#pragma once

#include "fieldstore.h"

#include <string_view>

// The one thing a user is ever told: every amount adds up to nothing.
inline constexpr std::string_view noAmountsMessage = "You need to enter some amounts";

// Reads the 27 amounts and writes the total amount, the five weighted totals
// and the five percentages, all as field texts. Never changes an amount.
void recalculate(FieldStore& store);
