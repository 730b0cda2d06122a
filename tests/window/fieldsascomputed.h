#pragma once

#include "fieldid.h"
#include "memoryfieldstore.h"
#include "recalculate.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string_view>

// A backend's wiring check: once `text` is typed into `field`, every field the
// toolkit shows, hidden totals included, holds what the core computes from it.
template <typename TextOf>
void expectFieldsAsComputed(TextOf textOf, FieldId field, std::string_view text) {
    MemoryFieldStore core;
    core.writeField(field, text);
    recalculate(core);
    for (std::size_t i = 0; i < fieldCount; ++i) {
        const auto id = static_cast<FieldId>(i);
        EXPECT_EQ(textOf(fieldName(id)), core.readField(id)) << fieldName(id);
    }
}
