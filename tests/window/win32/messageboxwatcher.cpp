#include "messageboxwatcher.h"

#include <algorithm>

namespace {

MessageBoxWatcher* current = nullptr;

// The static that holds a message box's text, and the one for its icon.
constexpr int messageTextId = 0xFFFF;
constexpr int messageIconId = 0x0014;

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool isDialog(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return std::wstring_view(name) == L"#32770";
}

} // namespace

MessageBoxWatcher::MessageBoxWatcher(HWND owner, std::function<void()> whenShown)
    : m_owner(owner), m_whenShown(std::move(whenShown)) {
    current = this;
    m_timer = SetTimer(nullptr, 0, 20, &MessageBoxWatcher::tick);
}

MessageBoxWatcher::~MessageBoxWatcher() {
    KillTimer(nullptr, m_timer);
    current = nullptr;
}

void CALLBACK MessageBoxWatcher::tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current)
        EnumThreadWindows(GetCurrentThreadId(), &MessageBoxWatcher::visit,
                          reinterpret_cast<LPARAM>(current));
}

BOOL CALLBACK MessageBoxWatcher::visit(HWND window, LPARAM self) {
    auto* watcher = reinterpret_cast<MessageBoxWatcher*>(self);
    if (isDialog(window) && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == watcher->m_owner)
        watcher->dismiss(window);
    return TRUE;
}

void MessageBoxWatcher::dismiss(HWND box) {
    if (std::ranges::find(m_dismissed, box) == m_dismissed.end()) {
        HWND icon = GetDlgItem(box, messageIconId);
        m_seen.push_back({windowText(box), windowText(GetDlgItem(box, messageTextId)),
                          GetDlgItem(box, IDOK) != nullptr, GetDlgItem(box, IDCANCEL) != nullptr,
                          icon && IsWindowVisible(icon)});
        m_dismissed.push_back(box);
        if (m_whenShown)
            m_whenShown();
    }
    // Posted, so the box closes from its own loop once this tick is over;
    // again at each tick while it is still up, should one go astray.
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}
