#include "liveregion.h"

#include <oleacc.h>

#include <string>

namespace {

// MinGW's headers name neither (they have UIA_LiveSettingPropertyId alone):
// the GUID is LiveSetting_Property_GUID as the Windows SDK defines it, and 1
// is Polite in the LiveSetting enumeration as Microsoft documents it
// (uiautomationcore.h).
constexpr GUID liveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG politeLiveSetting = 1;

// Where the system keeps it, UI Automation reports the control as a polite
// live region from now on. Wine has no such store (E_NOTIMPL); there the
// event below is all a client gets, which is all it needs.
void markPolite(HWND control) {
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services))))
        return;
    VARIANT polite;
    VariantInit(&polite);
    polite.vt = VT_I4;
    polite.lVal = politeLiveSetting;
    services->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                          liveSettingProperty, polite);
    services->Release();
}

} // namespace

LiveRegion::LiveRegion(HWND parent) {
    // The property store is a COM object; it keeps what it was given for as
    // long as the control lives, so COM stays up as long as this does.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    m_comStarted = SUCCEEDED(com);
    m_handle = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0,
                               0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (m_handle)
        markPolite(m_handle);
}

// The control goes with its parent window.
LiveRegion::~LiveRegion() {
    if (m_comStarted)
        CoUninitialize();
}

void LiveRegion::say(std::wstring_view text) {
    if (!m_handle)
        return;
    SetWindowTextW(m_handle, std::wstring(text).c_str());
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, m_handle, OBJID_CLIENT, CHILDID_SELF);
}
