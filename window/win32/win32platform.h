#pragma once

#include "fittedfonts.h"
#include "liveregion.h"
#include "platform.h"
#include "systemcolours.h"

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The window as plain Win32 controls. Group boxes are not containers here:
// every control is a child of the top-level window, placed at its group box's
// position plus its own. Twips become pixels at the window's DPI, again each
// time the window moves to a screen of another scale.
class Win32Platform : public Platform {
  public:
    Win32Platform();
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

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

    // The handles, for whoever needs to talk to the controls directly.
    HWND window() const { return m_window; }
    HWND handle(std::size_t control) const;
    // The control a child window stands for, or -1 for the window's own
    // helpers (invisible name labels, the tooltip).
    int controlOf(HWND child) const;
    int dpi() const { return m_dpi; }
    static constexpr int firstControlId = 1000;

  private:
    // A child window and the row it stands for, so that it can be placed
    // again at another DPI.
    struct Placement {
        HWND handle;
        std::size_t control;
        bool nameLabel; // the invisible label that names the control
    };

    // What the window needs of a control besides its row in the table.
    struct Control {
        HWND handle = nullptr;
        bool marked = false;
    };

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(WPARAM wParam, LPARAM lParam);
    void reportChange(std::size_t control);
    void moveFocus(HWND target);
    bool isEdit(std::size_t control) const;
    bool isMultiLineEdit(HWND child) const;
    LRESULT onControlColour(UINT message, HDC dc, HWND child);
    void onColoursChanged();

    int pixels(int twips) const;
    HWND createChild(std::size_t control, bool nameLabel);
    void createTooltip();
    void onDpiChanged(int dpi, const RECT& suggested);
    void place(const Placement& placement);
    bool captionFits(HWND child, ControlKind kind) const;
    void resizeWindow(int left, int top);

    std::span<const ControlRow> m_table;
    std::vector<Control> m_controls;
    std::vector<Placement> m_placements;
    SIZE m_clientTwips{};
    PlatformEvents* m_events = nullptr;
    bool m_reporting = false;  // no reports while the window is being built
    bool m_destroying = false; // in the destructor: no message loop to end
    HWND m_window = nullptr;
    HWND m_tooltip = nullptr;
    HWND m_lastFocus = nullptr;
    HWND m_writing = nullptr; // the edit whose text setText is replacing
    int m_dpi = USER_DEFAULT_SCREEN_DPI;
    std::unique_ptr<FittedFonts> m_fonts;
    std::unique_ptr<LiveRegion> m_figures; // where a screen reader hears the figures
    SystemColours m_colours;
};
