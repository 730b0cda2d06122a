// Prints the window's control table as JSON, so that the tests that drive a
// real window check it against the table itself rather than a copy of it.
#include "form1layout.h"
#include "recalculate.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

constexpr const char* kindNames[] = {"groupBox", "label", "edit", "multiLineEdit", "button"};

} // namespace

int main() {
    // The one message a user is ever shown, as the core words it.
    std::printf("{\"message\": %s,\n", quoted(noAmountsMessage).c_str());
    std::printf("\"caption\": %s, \"width\": %d, \"height\": %d, \"title\": %s, \"controls\": [\n",
                quoted(form1Window.caption).c_str(), form1Window.clientWidth,
                form1Window.clientHeight, quoted(form1Window.applicationTitle).c_str());
    const auto& controls = form1Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlRow& c = controls[i];
        std::printf("{\"name\": %s, \"kind\": \"%s\", \"parent\": %d, \"left\": %d, \"top\": %d, "
                    "\"width\": %d, \"height\": %d, \"text\": %s, \"visible\": %s, "
                    "\"focusOrder\": %d, \"accessibleName\": %s}%s\n",
                    quoted(c.name).c_str(), kindNames[static_cast<int>(c.kind)], c.parent, c.left,
                    c.top, c.width, c.height, quoted(c.text).c_str(), c.visible ? "true" : "false",
                    c.focusOrder, quoted(c.accessibleName).c_str(),
                    i + 1 < controls.size() ? "," : "");
    }
    std::printf("]}\n");
}
