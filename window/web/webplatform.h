#pragma once

#include "platform.h"

#include <emscripten/val.h>

#include <chrono>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The window as elements of the page it runs in. The page arrives with every
// control in its HTML (made from the same table when the page is built); this
// takes them over, drives them and nothing more. The page's own script
// (page/grainmix-page.js) passes their events in through the exported
// functions.
class WebPlatform : public Platform {
  public:
    WebPlatform();
    ~WebPlatform() override;
    WebPlatform(const WebPlatform&) = delete;
    WebPlatform& operator=(const WebPlatform&) = delete;

    void createWindow(const WindowLayout& window, std::span<const ControlRow> controls,
                      PlatformEvents& events) override;
    std::string text(std::size_t control) const override;
    void setText(std::size_t control, std::string_view text) override;
    void setNote(std::size_t control, std::string_view note) override;
    void showMessage(std::string_view title, std::string_view text) override;
    void startPause(std::chrono::milliseconds length) override;
    // Into the page's polite live region, which only a screen reader sees.
    void announce(std::string_view sentence) override;
    // Hands the thread back to the browser; the page's events drive the
    // window from then on, and this never returns.
    int run() override;
    void quit() override;

    // From the page: an edit field's text may have changed, a button was
    // pressed.
    void inputHappened(std::size_t control);
    void buttonPressed(std::size_t control);
    // From the page, once the program has started: reports the fields the
    // user changed before it.
    void started();

  private:
    static void pauseRanOut(void* platform);
    void stopPause();

    emscripten::val m_page;
    // Made once: every keystroke reads and writes it a few dozen times.
    const emscripten::val m_value = emscripten::val("value");
    emscripten::val m_form = emscripten::val::undefined();
    emscripten::val m_figures = emscripten::val::undefined();
    std::vector<emscripten::val> m_controls;
    std::span<const ControlRow> m_rows; // the window's table, which outlives this
    // Fields the user changed before the program started, until it hears them.
    std::vector<std::size_t> m_typedBeforeStart;
    PlatformEvents* m_events = nullptr;
    long m_pause = 0; // the browser's timeout, 0 when none runs
    bool m_ended = false;
};
