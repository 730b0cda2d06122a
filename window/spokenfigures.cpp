#include "spokenfigures.h"

#include <algorithm>
#include <utility>

namespace {

std::vector<std::size_t> childrenOf(std::span<const ControlRow> controls, GroupRole group) {
    const auto box = std::find_if(controls.begin(), controls.end(),
                                  [&](const ControlRow& c) { return c.group == group; });
    std::vector<std::size_t> children;
    const auto parent = static_cast<int>(box - controls.begin());
    for (std::size_t i = 0; box != controls.end() && i < controls.size(); ++i)
        if (controls[i].parent == parent)
            children.push_back(i);
    return children;
}

// Without the blank a recalculation puts before the total.
std::string_view trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace

SpokenFigures::SpokenFigures(Platform& platform, std::span<const ControlRow> controls)
    : m_platform(platform) {
    for (const auto& [group, named] :
         {std::pair{GroupRole::total, &m_total}, std::pair{GroupRole::results, &m_results}}) {
        for (std::size_t field : childrenOf(controls, group))
            if (const auto caption = captionOf(controls, field))
                named->push_back({controls[*caption].text, field});
    }
    m_said = sentence([&](std::size_t field) { return std::string(controls[field].text); });
}

std::string SpokenFigures::sentence(const std::function<std::string(std::size_t)>& textOf) const {
    std::string out;
    const auto append = [&](const std::vector<NamedFigure>& figures) {
        for (std::size_t i = 0; i < figures.size(); ++i) {
            out += i > 0 ? ", " : "";
            out += figures[i].caption;
            out += ' ';
            out += trimmed(textOf(figures[i].field));
        }
    };
    append(m_total);
    out += ". ";
    append(m_results);
    return out;
}

void SpokenFigures::restartPause() {
    m_platform.startPause(pause);
}

void SpokenFigures::messageOpened() {
    ++m_openMessages;
}

void SpokenFigures::messageClosed() {
    --m_openMessages;
    restartPause();
}

void SpokenFigures::pauseEnded() {
    // The pause restarts when the message goes, so nothing is lost here.
    if (m_openMessages > 0)
        return;
    std::string now = sentence([&](std::size_t field) { return m_platform.text(field); });
    if (now == m_said)
        return;
    m_said = std::move(now);
    m_platform.announce(m_said);
}
