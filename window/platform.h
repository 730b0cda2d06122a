#pragma once

#include "controlrow.h"

#include <chrono>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// Where a toolkit's controls report to the window. Texts are UTF-8.
class PlatformEvents {
  public:
    // An edit field's text may have changed, typed or written by the program.
    // Report every change the toolkit signals, unfiltered: the window itself
    // tells a key that left the text as it was from a real change.
    virtual void textChanged(std::size_t control) = 0;
    virtual void clicked(std::size_t control) = 0;
    virtual void closeRequested() = 0;
    // The pause that startPause began has run out with no start since.
    virtual void pauseEnded() = 0;

  protected:
    ~PlatformEvents() = default;
};

// The few things the window needs of a toolkit. A backend creates and drives
// controls and holds no behaviour of its own: every decision is the window's.
// Controls are named by their index in the table given to createWindow.
class Platform {
  public:
    virtual ~Platform() = default;

    // Creates the window and every control in table order, shows the window
    // and puts the focus on the control whose focusOrder is 0. Reports go to
    // events from then on, synchronously, on the one thread. The table
    // outlives the platform: keep a view of it, not a copy.
    virtual void createWindow(const WindowLayout& window, std::span<const ControlRow> controls,
                              PlatformEvents& events) = 0;

    virtual std::string text(std::size_t control) const = 0;
    // Reports textChanged before it returns.
    virtual void setText(std::size_t control, std::string_view text) = 0;
    // Marks an edit field with a visible cue and a tooltip saying why; an
    // empty note removes both. Never touches the text.
    virtual void setNote(std::size_t control, std::string_view note) = 0;
    // Modal to the window, one OK button, no icon. Returns once dismissed.
    virtual void showMessage(std::string_view title, std::string_view text) = 0;

    // The one pause timer: starts it, or starts it afresh when it runs, so
    // that pauseEnded comes once, that long after the last start, from the
    // event loop. While a message is open it may run out inside the message
    // box's own loop, or be stopped: the window says nothing then, and starts
    // the pause again once the message is gone.
    virtual void startPause(std::chrono::milliseconds length) = 0;
    // Gives a screen reader a sentence to say once it has finished what it is
    // saying, without moving the focus and without showing anything.
    virtual void announce(std::string_view sentence) = 0;

    // Runs the event loop until quit; returns the program's exit status.
    virtual int run() = 0;
    // Ends the event loop at once.
    virtual void quit() = 0;
};
