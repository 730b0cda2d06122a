#include "creationorder.h"

#include <algorithm>

namespace {

bool takesFocus(const ControlRow& c) {
    return c.visible && c.focusOrder != noFocus;
}

// Buttons and the like are named by their own text; an edit's text is its
// content, so its name has to come from a label.
bool namedByLabel(const ControlRow& c) {
    return c.kind == ControlKind::edit || c.kind == ControlKind::multiLineEdit;
}

} // namespace

std::vector<Creation> creationOrder(std::span<const ControlRow> controls) {
    std::vector<std::size_t> focusable;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (takesFocus(controls[i]))
            focusable.push_back(i);
    }
    std::ranges::sort(focusable, {}, [&](std::size_t i) { return controls[i].focusOrder; });

    std::vector<bool> placed(controls.size(), false);
    std::vector<Creation> order;
    order.reserve(controls.size() + 1);
    for (std::size_t i : focusable) {
        const std::string_view name = controls[i].accessibleName;
        if (!name.empty() && namedByLabel(controls[i])) {
            std::size_t label = controls.size();
            for (std::size_t j = 0; j < controls.size(); ++j) {
                if (!placed[j] && controls[j].kind == ControlKind::label &&
                    controls[j].text == name) {
                    label = j;
                    break;
                }
            }
            if (label < controls.size()) {
                order.push_back({label});
                placed[label] = true;
            } else {
                order.push_back({i, true});
            }
        }
        order.push_back({i});
        placed[i] = true;
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (!placed[i])
            order.push_back({i});
    }
    return order;
}
