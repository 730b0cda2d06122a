#pragma once

#include "controlrow.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Each edit field's text as the window last saw it change. Toolkits report a
// key that leaves a text as it was (a "0" typed over a selected "0") just as
// they report a real change; this tells the two apart, once for every toolkit.
class ReportedTexts {
  public:
    // Every control starts with the text its row gives it.
    explicit ReportedTexts(std::span<const ControlRow> controls);

    // Records now as the control's text. False when that was its text already.
    bool changed(std::size_t control, std::string now);
    const std::string& last(std::size_t control) const { return m_texts.at(control); }

  private:
    std::vector<std::string> m_texts;
};
