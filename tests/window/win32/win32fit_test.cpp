#include "win32window.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<std::wstring> linesOf(const std::wstring& text) {
    std::vector<std::wstring> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Measures each shown caption as the control draws it: in the control's own
// font, one line at a time, against the room inside the control (a button's
// edge and focus rectangle take 3 pixels at 96 DPI on each side; an edit's
// room is its formatting rectangle). Scroll-free fields hold the user's text
// and are left out.
void expectEveryCaptionFits(const Win32Platform& platform) {
    const int inset = MulDiv(3, platform.dpi(), 96);
    for (std::size_t i = 0; i < form1ControlCount; ++i) {
        const ControlRow& c = form1Controls()[i];
        HWND child = platform.handle(i);
        if (c.kind == ControlKind::edit || !c.visible || c.text.empty())
            continue;
        RECT room{};
        GetClientRect(child, &room);
        if (c.kind == ControlKind::button || c.kind == ControlKind::groupBox)
            InflateRect(&room, -inset, -inset);
        const bool multiLine = c.kind == ControlKind::multiLineEdit;
        if (multiLine)
            SendMessageW(child, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));

        const std::wstring text = widen(c.text);
        const std::vector<std::wstring> lines = linesOf(text);
        HDC dc = GetDC(child);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
        for (std::size_t line = 0; line < lines.size(); ++line) {
            RECT r{};
            DrawTextW(dc, lines[line].c_str(), static_cast<int>(lines[line].size()), &r,
                      DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            EXPECT_LE(r.right, room.right - room.left)
                << c.name << " line " << line + 1 << " at " << platform.dpi() << " DPI";
            if (!multiLine) {
                EXPECT_LE(r.bottom, room.bottom - room.top)
                    << c.name << " at " << platform.dpi() << " DPI";
            }
        }
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        if (multiLine) {
            EXPECT_EQ(SendMessageW(child, EM_GETLINECOUNT, 0, 0),
                      static_cast<LRESULT>(lines.size()))
                << c.name << ": a line wrapped at " << platform.dpi() << " DPI";
        }
    }
}

// Run at each DPI of interest by scripts/test-windows.sh.
TEST_F(Win32Window, EveryCaptionFitsAndNoInstructionLineWrapsAtTheScreensDpi) {
    EXPECT_EQ(m_platform.dpi(), screenDpi());
    expectEveryCaptionFits(m_platform);
}

TEST_F(Win32Window, MovingToAScreenOfAnotherScaleLaysTheWindowOutAgain) {
    const int dpi = screenDpi() * 3 / 2;
    RECT suggested{40, 30, 41, 31}; // the place is Windows', the size the layout's
    SendMessageW(window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    ASSERT_EQ(m_platform.dpi(), dpi);

    RECT frame{};
    GetWindowRect(window(), &frame);
    EXPECT_EQ(frame.left, suggested.left);
    EXPECT_EQ(frame.top, suggested.top);
    RECT client{};
    GetClientRect(window(), &client);
    EXPECT_EQ(client.right, MulDiv(form1Window.clientWidth, dpi, 1440));
    EXPECT_EQ(client.bottom, MulDiv(form1Window.clientHeight, dpi, 1440));
    expectEachControlWhereTheLayoutPutsIt(dpi);

    LOGFONTW exitFont{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control("CmdExit"), WM_GETFONT, 0, 0)),
               sizeof exitFont, &exitFont);
    EXPECT_EQ(exitFont.lfHeight, -MulDiv(975, dpi, 7200)) << "fonts made again at the new DPI";
    expectEveryCaptionFits(m_platform);
    EXPECT_EQ(textOf("Text27"), instructionText());
}

} // namespace
