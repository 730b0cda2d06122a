#include "graintable.h"

const GrainRow* grainRowFor(FieldId id) {
    for (const GrainRow& row : grainTable)
        if (row.field == id)
            return &row;
    return nullptr;
}
