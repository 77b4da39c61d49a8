// The display's power state, where the system tells it: a registration that
// ends with its object, and the state a WM_POWERBROADCAST carries. The system
// functions are looked up at run time: systems before Vista lack them.
#pragma once

#include <windows.h>

class CDisplayPowerNotification {
public:
    CDisplayPowerNotification() = default;
    ~CDisplayPowerNotification();
    CDisplayPowerNotification(const CDisplayPowerNotification&) = delete;
    CDisplayPowerNotification& operator=(const CDisplayPowerNotification&) = delete;

    // Asks for the display's state to be sent to `hWnd`: the console display
    // state from Windows 8 on, the monitor's power on Vista and 7. FALSE where
    // the system offers neither.
    BOOL Register(HWND hWnd);
    void Unregister();

private:
    HANDLE m_hNotify = nullptr;
};

// What the display is doing, as a WM_POWERBROADCAST tells it.
enum class DisplayPower { Unknown, Off, On, Dimmed };
DisplayPower DisplayPowerOf(WPARAM wParam, LPARAM lParam);
