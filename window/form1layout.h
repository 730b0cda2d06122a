#pragma once

#include "controlrow.h"
#include "fieldid.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

// The one window of the program, control by control. Fixed at build time:
// nothing moves or resizes with the window.

inline constexpr WindowLayout form1Window = {
    "Form1", "The Composition of Grains ", 9510, 6600, "Grain Mix",
};

inline constexpr std::size_t form1ControlCount = 77;

// 3 group boxes, 33 labels, 27 amounts, 5 results, amount, the instructions,
// 2 buttons and the 5 hidden totals that the recalculation keeps its sums in.
const std::array<ControlRow, form1ControlCount>& form1Controls();

// The instructions shown beside the results, lines joined by CR LF.
std::string_view instructionText();

// Lookups over the table; the names of fields are their control names.
std::optional<std::size_t> controlNamed(std::string_view name);
std::size_t controlOf(FieldId id);
std::optional<FieldId> fieldOf(std::size_t control);
