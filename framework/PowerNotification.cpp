// Registration for the display's power state through user32's functions,
// found at run time, and the state read from a power-setting change.
#include "framework/PowerNotification.h"

#include <cstring>

namespace {

// {6FE69556-704A-47A0-8F24-C28D936FDA47}: 0 off, 1 on, 2 dimmed (Windows 8 and later).
constexpr GUID kConsoleDisplayState = {0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}};
// {02731015-4510-4526-99E6-E5A17EBD1AEA}: 0 off, 1 on (Vista and 7).
constexpr GUID kMonitorPowerOn = {0x02731015, 0x4510, 0x4526, {0x99, 0xE6, 0xE5, 0xA1, 0x7E, 0xBD, 0x1A, 0xEA}};

constexpr WPARAM kPowerSettingChange = 0x8013;  // PBT_POWERSETTINGCHANGE

// POWERBROADCAST_SETTING, whose data here is one 32-bit state.
struct PowerSetting {
    GUID guid;
    DWORD dataLength;
    DWORD data;
};

using RegisterProc = HANDLE(WINAPI*)(HANDLE hRecipient, const GUID* guid, DWORD flags);
using UnregisterProc = BOOL(WINAPI*)(HANDLE hNotify);

FARPROC User32Function(const char* name) {
    HMODULE hUser = ::GetModuleHandleA("USER32.DLL");
    return hUser != nullptr ? ::GetProcAddress(hUser, name) : nullptr;
}

// The setting this system reports the display's state by, or null before Vista.
const GUID* DisplaySetting() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT || version.dwMajorVersion < 6) {
        return nullptr;
    }
    const bool windows8 = version.dwMajorVersion > 6 || version.dwMinorVersion >= 2;
    return windows8 ? &kConsoleDisplayState : &kMonitorPowerOn;
}

}  // namespace

CDisplayPowerNotification::~CDisplayPowerNotification() { Unregister(); }

BOOL CDisplayPowerNotification::Register(HWND hWnd) {
    Unregister();
    const auto pfnRegister = reinterpret_cast<RegisterProc>(
        reinterpret_cast<void (*)()>(User32Function("RegisterPowerSettingNotification")));
    const GUID* setting = DisplaySetting();
    if (pfnRegister == nullptr || setting == nullptr) return FALSE;
    m_hNotify = pfnRegister(hWnd, setting, DEVICE_NOTIFY_WINDOW_HANDLE);
    return m_hNotify != nullptr;
}

void CDisplayPowerNotification::Unregister() {
    if (m_hNotify == nullptr) return;
    const auto pfnUnregister = reinterpret_cast<UnregisterProc>(
        reinterpret_cast<void (*)()>(User32Function("UnregisterPowerSettingNotification")));
    if (pfnUnregister != nullptr) pfnUnregister(m_hNotify);
    m_hNotify = nullptr;
}

DisplayPower DisplayPowerOf(WPARAM wParam, LPARAM lParam) {
    const auto* setting = reinterpret_cast<const PowerSetting*>(lParam);
    if (wParam != kPowerSettingChange || setting == nullptr || setting->dataLength < sizeof(DWORD)) {
        return DisplayPower::Unknown;
    }
    if (std::memcmp(&setting->guid, &kConsoleDisplayState, sizeof(GUID)) != 0 &&
        std::memcmp(&setting->guid, &kMonitorPowerOn, sizeof(GUID)) != 0) {
        return DisplayPower::Unknown;
    }
    switch (setting->data) {
        case 0: return DisplayPower::Off;
        case 1: return DisplayPower::On;
        case 2: return DisplayPower::Dimmed;
        default: return DisplayPower::Unknown;
    }
}
