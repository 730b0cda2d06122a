#pragma once

#include "platform.h"

#include <QFont>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

class QApplication;

// The window as Qt widgets, one per control of the table and named after it.
// It only creates, shows and reports; every decision is the window's own.
class QtPlatform : public Platform {
  public:
    // The application must exist before and outlive the platform; pass it in
    // to have the platform own it and delete it last.
    explicit QtPlatform(std::unique_ptr<QApplication> application = nullptr);
    ~QtPlatform() override;

    void createWindow(const WindowLayout& window, std::span<const ControlRow> controls,
                      PlatformEvents& events) override;

    std::string text(std::size_t control) const override;
    void setText(std::size_t control, std::string_view text) override;
    void setNote(std::size_t control, std::string_view note) override;
    void showMessage(std::string_view title, std::string_view text) override;
    void startPause(std::chrono::milliseconds length) override;
    void announce(std::string_view sentence) override;

    int run() override;
    void quit() override;

    // The top-level window, for tests, screenshots and benchmarks.
    QWidget* window() const { return m_window.get(); }
    QWidget* control(std::size_t index) const { return m_controls.at(index); }

  private:
    void createControl(const ControlRow& row, std::size_t index);
    void setTabOrder(std::span<const ControlRow> controls);
    // Puts every caption in the font it fits in, in the faces and at the
    // scale the window has now; asked for again when either changes.
    void fitCaptions();
    void refitLater();
    void createFiguresNotice();

    // Declared first so that it is destroyed last, after every widget.
    std::unique_ptr<QApplication> m_application;
    std::unique_ptr<QWidget> m_window;
    std::span<const ControlRow> m_table;
    std::vector<QWidget*> m_controls;   // owned by m_window
    QWidget* m_figuresNotice = nullptr; // owned by m_window
    QTimer m_pause;
    PlatformEvents* m_events = nullptr;
    QFont m_boldFont; // resolved once for every bold control
    bool m_fitting = false;
    bool m_refitPending = false;
};
