#pragma once

#include "form1.h"
#include "form1layout.h"
#include "widetext.h"
#include "win32platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// A control's client area as it is painted: printed by the control itself
// into a bitmap, or copied from the screen as it shows now.
struct Painting {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels; // row by row from the top

    Painting(HWND child, bool printed) {
        RECT client{};
        GetClientRect(child, &client);
        width = client.right;
        height = client.bottom;
        HDC screen = GetDC(child);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        const HGDIOBJ old = SelectObject(dc, bitmap);
        if (printed)
            SendMessageW(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        else
            BitBlt(dc, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        for (int i = 0; i < width * height; ++i)
            pixels.push_back(GetPixel(dc, i % width, i / width));
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(child, screen);
    }
    COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    // What most of it is painted in.
    COLORREF background() const {
        std::map<COLORREF, int> counts;
        for (COLORREF c : pixels)
            ++counts[c];
        return std::ranges::max_element(counts, {}, &std::pair<const COLORREF, int>::second)->first;
    }
};

// Form1 on real Win32 controls, talked to the way Windows talks to them:
// with window messages, and read back with GetWindowTextW.
class Win32Window : public ::testing::Test {
  protected:
    Win32Platform m_platform;
    Form1 m_form{m_platform};

    static std::size_t indexOf(std::string_view name) {
        const auto index = controlNamed(name);
        EXPECT_TRUE(index) << name;
        return index.value_or(0);
    }

    HWND window() const { return m_platform.window(); }
    HWND control(std::string_view name) const { return m_platform.handle(indexOf(name)); }
    std::string_view nameOf(HWND child) const {
        const int index = m_platform.controlOf(child);
        return index < 0 ? "?" : form1Controls()[static_cast<std::size_t>(index)].name;
    }

    static std::string textOf(HWND child) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(child, text.data(), static_cast<int>(text.size()))));
        return narrow(text);
    }
    std::string textOf(std::string_view name) const { return textOf(control(name)); }

    // A program's write, as SetWindowText would send it.
    void write(std::string_view name, std::string_view text) const {
        const std::wstring wide = widen(text);
        SendMessageW(control(name), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    // Keystrokes as TranslateMessage delivers them, one WM_CHAR each.
    void type(std::string_view name, std::string_view keys) const {
        for (char key : keys)
            SendMessageW(control(name), WM_CHAR, static_cast<WPARAM>(key), 1);
    }
    void select(std::string_view name, int from, int to) const {
        SendMessageW(control(name), EM_SETSEL, static_cast<WPARAM>(from), to);
    }
    void click(std::string_view name) const { SendMessageW(control(name), BM_CLICK, 0, 0); }

    // Every control at its place in the layout, its twips turned into pixels
    // at `dpi`.
    void expectEachControlWhereTheLayoutPutsIt(int dpi) const {
        for (std::size_t i = 0; i < form1ControlCount; ++i) {
            const ControlRow& c = form1Controls()[i];
            HWND child = m_platform.handle(i);
            ASSERT_TRUE(child) << c.name;
            EXPECT_EQ(GetParent(child), window()) << c.name;
            RECT r{};
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&r), 2);
            // Group boxes contain nothing in Win32: a control inside one sits
            // at the box's position plus its own.
            POINT at{c.left, c.top};
            if (c.parent != noParent) {
                at.x += form1Controls()[static_cast<std::size_t>(c.parent)].left;
                at.y += form1Controls()[static_cast<std::size_t>(c.parent)].top;
            }
            EXPECT_EQ(r.left, MulDiv(at.x, dpi, 1440)) << c.name;
            EXPECT_EQ(r.top, MulDiv(at.y, dpi, 1440)) << c.name;
            EXPECT_EQ(r.right - r.left, MulDiv(c.width, dpi, 1440)) << c.name;
            EXPECT_EQ(r.bottom - r.top, MulDiv(c.height, dpi, 1440)) << c.name;
            EXPECT_EQ(IsWindowVisible(child) != FALSE, c.visible) << c.name;
        }
    }

    int screenDpi() const {
        HDC dc = GetDC(window());
        const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(window(), dc);
        return dpi;
    }
};

// What a screen's scale could break: the CTest run repeats this suite at 120,
// 144 and 192 DPI, so a test belongs here by what it checks, not by its name.
class Win32AtScreenDpi : public Win32Window {};
