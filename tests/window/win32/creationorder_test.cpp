#include "creationorder.h"
#include "form1layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

ControlRow make(std::string_view name, ControlKind kind, std::string_view text, int focus,
                std::string_view accessibleName = {}) {
    ControlRow c;
    c.name = name;
    c.kind = kind;
    c.text = text;
    c.focusOrder = focus;
    c.accessibleName = accessibleName;
    return c;
}

struct OrderCase {
    const char* what;
    std::vector<ControlRow> controls;
    std::vector<Creation> order;
};

const OrderCase orderCases[] = {
    {"focus order, not table order",
     {make("b", ControlKind::button, "B", 1), make("a", ControlKind::button, "A", 0)},
     {{1}, {0}}},
    {"each label just before the field it names",
     {make("l1", ControlKind::label, "One", noFocus),
      make("l2", ControlKind::label, "Two", noFocus), make("e1", ControlKind::edit, "0", 1, "One"),
      make("e2", ControlKind::edit, "0", 0, "Two")},
     {{1}, {3}, {0}, {2}}},
    {"a field without a label gets an invisible one",
     {make("e", ControlKind::multiLineEdit, "", 0, "Notes")},
     {{0, true}, {0}}},
    {"what takes no focus follows in table order",
     {make("g", ControlKind::groupBox, "", noFocus), make("e", ControlKind::edit, "0", 0),
      make("t", ControlKind::edit, "0", noFocus)},
     {{1}, {0}, {2}}},
};

TEST(CreationOrder, PutsFocusOrderFirstWithEachNameJustBefore) {
    for (const OrderCase& c : orderCases)
        EXPECT_EQ(creationOrder(c.controls), c.order) << c.what;
}

TEST(CreationOrder, CreatesEveryControlOfTheWindowOnce) {
    const std::vector<Creation> order = creationOrder(form1Controls());
    std::vector<std::size_t> created;
    int nameLabels = 0;
    for (const Creation& c : order) {
        if (c.nameLabel)
            ++nameLabels;
        else
            created.push_back(c.control);
    }
    std::ranges::sort(created);
    std::vector<std::size_t> all(form1ControlCount);
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    EXPECT_EQ(created, all);
    EXPECT_EQ(nameLabels, 1) << "only the instructions lack a label";
}

} // namespace
