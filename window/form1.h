#pragma once

#include "fieldstore.h"
#include "platform.h"
#include "reportedtexts.h"
#include "spokenfigures.h"

#include <cstddef>
#include <string>
#include <string_view>

// The program's one window: what its controls do, over any toolkit. It keeps
// no state of its own; every number lives in the text of a field, the hidden
// totals included.
class Form1 : public FieldStore, private PlatformEvents {
  public:
    // Creates and shows the window, every field showing its starting text.
    explicit Form1(Platform& platform);

    std::string readField(FieldId id) const override;
    // Writing a field's current text again is not a change and starts nothing.
    void writeField(FieldId id, std::string_view text) override;
    void showMessage(std::string_view text) override;

    // The Clear button: every amount back to "0", then the results and the
    // total amount.
    void clear();
    // The Exit button and closing the window: the program ends at once.
    void exit();

  private:
    void textChanged(std::size_t control) override;
    void clicked(std::size_t control) override;
    void closeRequested() override;
    void pauseEnded() override;

    Platform& m_platform;
    // What each field showed at its last change: a report that leaves a text
    // as it was starts nothing, and a write of the text a field already
    // shows is no change.
    ReportedTexts m_reported;
    SpokenFigures m_figures;
    // Closing the window behind an open message ends the program there and
    // then; the Clear that raised the message must not carry on afterwards.
    bool m_ended = false;
};
