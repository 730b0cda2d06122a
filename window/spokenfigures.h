#pragma once

#include "controlrow.h"
#include "platform.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The total and the five results as one sentence for a screen reader:
// "Amounts 10. Protein 12.7, Carbohydrate 66.6, Water 10.6, Fibre 5.4, Fat 1.9".
// The figures change in controls that do not have the focus, so without it a
// blind user hears nothing of what a keystroke did. It is said once the user
// pauses rather than at each key, which would talk over the typing; not while
// a message is open, which is said itself; and not again while it is the
// sentence said last.
class SpokenFigures {
  public:
    static constexpr std::chrono::milliseconds pause{700};

    // Finds each caption beside its field in the total's group box, then in
    // the results'. The sentence the window opens with counts as said.
    SpokenFigures(Platform& platform, std::span<const ControlRow> controls);

    // Something happened in the window (a key, a click, a text the program
    // wrote as its answer to one): the pause starts again.
    void restartPause();
    void messageOpened();
    // A dismissed message is something the user did, too.
    void messageClosed();
    void pauseEnded();

  private:
    struct NamedFigure {
        std::string_view caption;
        std::size_t field;
    };
    std::string sentence(const std::function<std::string(std::size_t)>& textOf) const;

    Platform& m_platform;
    std::vector<NamedFigure> m_total;
    std::vector<NamedFigure> m_results;
    std::string m_said;
    int m_openMessages = 0;
};
