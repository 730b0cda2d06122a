#pragma once

#include "platform.h"

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Controls as plain strings: enough to watch what the window asks of a
// toolkit, and in what order.
class FakePlatform : public Platform {
  public:
    struct Message {
        std::string title;
        std::string text;
        std::vector<std::string> fieldsAtThatMoment;
    };

    void createWindow(const WindowLayout&, std::span<const ControlRow> controls,
                      PlatformEvents& events) override {
        m_events = &events;
        for (const ControlRow& c : controls) {
            m_texts.emplace_back(c.text);
            m_notes.emplace_back();
        }
    }
    std::string text(std::size_t control) const override { return m_texts.at(control); }
    void setText(std::size_t control, std::string_view text) override {
        m_texts.at(control) = text;
        ++m_setTextCalls;
        m_events->textChanged(control);
    }
    void setNote(std::size_t control, std::string_view note) override {
        m_notes.at(control) = note;
    }
    // The user takes longer to dismiss a message than any pause lasts.
    void showMessage(std::string_view title, std::string_view text) override {
        m_messages.push_back({std::string(title), std::string(text), m_texts});
        pause();
    }
    void startPause(std::chrono::milliseconds) override { m_pausing = true; }
    void announce(std::string_view sentence) override { m_announced.emplace_back(sentence); }
    int run() override { return m_quit ? 0 : -1; }
    void quit() override { m_quit = true; }

    // What a user does: typing replaces the text and reports the change.
    void type(std::size_t control, std::string_view text) {
        m_texts.at(control) = text;
        m_events->textChanged(control);
    }
    void click(std::size_t control) { m_events->clicked(control); }
    void close() { m_events->closeRequested(); }
    // Time passes: a pause that was started ends.
    void pause() {
        if (std::exchange(m_pausing, false))
            m_events->pauseEnded();
    }

    const std::vector<Message>& messages() const { return m_messages; }
    const std::string& note(std::size_t control) const { return m_notes.at(control); }
    int setTextCalls() const { return m_setTextCalls; }
    const std::vector<std::string>& announced() const { return m_announced; }
    bool quitCalled() const { return m_quit; }

  private:
    PlatformEvents* m_events = nullptr;
    std::vector<std::string> m_texts;
    std::vector<std::string> m_notes;
    std::vector<Message> m_messages;
    std::vector<std::string> m_announced;
    bool m_pausing = false;
    int m_setTextCalls = 0;
    bool m_quit = false;
};
