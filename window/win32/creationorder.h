#pragma once

#include "controlrow.h"

#include <cstddef>
#include <span>
#include <vector>

// One child window to create: a control of the table, or an invisible label
// that carries the accessible name of a control without a label of its own.
struct Creation {
    std::size_t control;
    bool nameLabel = false;

    bool operator==(const Creation&) const = default;
};

// Win32 has one order for both Tab and screen readers: the z-order of the
// children, which is the order of creation. Tab walks the focusable controls
// in focus order, and a screen reader names an edit after the static label
// just before it. So each focusable control comes in focus order, each edit
// right after the label whose text is its accessible name (or an invisible
// one), and everything else follows in table order.
std::vector<Creation> creationOrder(std::span<const ControlRow> controls);
