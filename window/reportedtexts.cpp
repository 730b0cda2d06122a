#include "reportedtexts.h"

#include <utility>

ReportedTexts::ReportedTexts(std::span<const ControlRow> controls) {
    m_texts.reserve(controls.size());
    for (const ControlRow& row : controls)
        m_texts.emplace_back(row.text);
}

bool ReportedTexts::changed(std::size_t control, std::string now) {
    std::string& last = m_texts.at(control);
    if (now == last)
        return false;
    last = std::move(now);
    return true;
}
