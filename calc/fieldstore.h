#pragma once

#include "fieldid.h"

#include <string>
#include <string_view>

// What the recalculation needs of the window: the fields' texts and the one
// message. The texts are the whole state; nothing is kept elsewhere.
class FieldStore {
  public:
    virtual ~FieldStore() = default;

    virtual std::string readField(FieldId id) const = 0;
    // Writing amount, a hidden total or a result field starts nothing.
    virtual void writeField(FieldId id, std::string_view text) = 0;
    // Modal: returns once the user has dismissed it.
    virtual void showMessage(std::string_view text) = 0;
};
