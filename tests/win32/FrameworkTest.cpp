// The framework window's message maps, walked from the most derived class up
// with Default passing on each level's own message, and a window's last message
// going to the default procedure before the object lets go; and the small
// wrappers' ownership of handles.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/File.h"
#include "framework/GdiObject.h"
#include "framework/PowerNotification.h"
#include "framework/Wnd.h"
#include "host/HostPolicy.h"
#include "tests/core/TempDir.h"
#include "tests/win32/WinTestSupport.h"

namespace {

constexpr UINT kBaseOnly = WM_APP + 1, kBoth = WM_APP + 2, kNested = WM_APP + 3;
std::vector<std::string> g_calls;

LRESULT Log(const std::string& call, LRESULT result) {
    g_calls.push_back(call);
    return result;
}

class CMapBase : public CWnd {
public:
    LRESULT OnBaseOnly(WPARAM wParam, LPARAM) { return Log("base-only", static_cast<LRESULT>(wParam) + 1); }
    LRESULT OnBoth(WPARAM, LPARAM) { return Log("base-both", 1); }
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        char call[64];
        std::snprintf(call, sizeof call, "default %x %u %ld", message, static_cast<unsigned>(wParam), static_cast<long>(lParam));  // the message in hex
        return Log(call, 77);
    }
    DECLARE_MESSAGE_MAP(CMapBase)
};

BEGIN_MESSAGE_MAP(CMapBase, CWnd)
    ON_MESSAGE(kBaseOnly, OnBaseOnly)
    ON_MESSAGE(kBoth, OnBoth)
END_MESSAGE_MAP()

class CMapDerived : public CMapBase {
public:
    LRESULT OnBoth(WPARAM, LPARAM) { return Log("derived-both", Default()); }
    LRESULT OnNested(WPARAM wParam, LPARAM) {
        Log("nested " + std::to_string(wParam), 0);
        if (wParam > 0) Dispatch(kNested, wParam - 1, 0);
        return Default();  // still this level's message
    }
    DECLARE_MESSAGE_MAP(CMapDerived)
};

BEGIN_MESSAGE_MAP(CMapDerived, CMapBase)
    ON_MESSAGE(kBoth, OnBoth)
    ON_MESSAGE(kNested, OnNested)
END_MESSAGE_MAP()

TEST(FrameworkWindow, MapsAreWalkedFromTheMostDerivedClassUpAndDefaultKeepsItsLevel) {
    CMapDerived wnd;
    EXPECT_EQ(wnd.Dispatch(kBaseOnly, 41, 0), 42);
    EXPECT_EQ(wnd.Dispatch(kBoth, 5, 6), 77);
    EXPECT_EQ(wnd.Dispatch(WM_APP + 9, 8, 9), 77);
    wnd.Dispatch(kNested, 1, 0);
    HWND handle = reinterpret_cast<HWND>(0x1234);  // the map never asks the system
    wnd.Attach(handle);
    EXPECT_EQ(CWnd::FromHandlePermanent(handle), &wnd);
    wnd.Dispatch(WM_NCDESTROY, 0, 0);  // the default procedure's own work, then the object lets go
    EXPECT_EQ(g_calls, (std::vector<std::string>{"base-only", "default 8002 5 6", "derived-both", "default 8009 8 9", "nested 1",
                                                 "nested 0", "default 8003 0 0", "default 8003 1 0", "default 82 0 0"}));
    EXPECT_EQ(CWnd::FromHandlePermanent(handle), nullptr) << "a destroyed window's object stays in the handle map";
}

// The portable host policy's copies of the system's message and command values.
TEST(HostPolicyValues, AreTheSystemsOwn) {
    const std::uintptr_t rows[][2] = {
        {zorv::kWmCreate, WM_CREATE},           {zorv::kWmDestroy, WM_DESTROY},
        {zorv::kWmSetText, WM_SETTEXT},         {zorv::kWmPaint, WM_PAINT},
        {zorv::kWmClose, WM_CLOSE},             {zorv::kWmShowWindow, WM_SHOWWINDOW},
        {zorv::kWmActivateApp, WM_ACTIVATEAPP}, {zorv::kWmSetCursor, WM_SETCURSOR},
        {zorv::kWmHelp, WM_HELP},               {zorv::kWmContextMenu, WM_CONTEXTMENU},
        {zorv::kWmDisplayChange, WM_DISPLAYCHANGE}, {zorv::kWmKeyDown, WM_KEYDOWN},
        {zorv::kWmSysKeyDown, WM_SYSKEYDOWN},   {zorv::kWmSysCommand, WM_SYSCOMMAND},
        {zorv::kWmTimer, WM_TIMER},             {zorv::kWmMouseMove, WM_MOUSEMOVE},
        {zorv::kWmLButtonDown, WM_LBUTTONDOWN}, {zorv::kWmRButtonDown, WM_RBUTTONDOWN},
        {zorv::kWmMButtonDown, WM_MBUTTONDOWN}, {zorv::kScNextWindow, SC_NEXTWINDOW},
        {zorv::kScPrevWindow, SC_PREVWINDOW},   {zorv::kScScreenSave, SC_SCREENSAVE}, {zorv::kWmVerifyPassword, WM_APP},
    };
    for (const auto& row : rows) EXPECT_EQ(row[0], row[1]) << std::hex << row[1];
}

// The display's power, read from the setting of Windows 8 on or of Vista and 7;
// nothing else tells it. (The saver window's registration: the desktop tests.)
TEST(FrameworkObjects, DisplayPowerIsReadFromEitherSetting) {
    const GUID &console = GUID_CONSOLE_DISPLAY_STATE, &monitor = GUID_MONITOR_POWER_ON;  // the SDK's
    const struct { WPARAM wParam; GUID guid; DWORD length, data; DisplayPower power; } rows[] = {{PBT_POWERSETTINGCHANGE, monitor, 4, 0, DisplayPower::Off}, {PBT_POWERSETTINGCHANGE, monitor, 4, 1, DisplayPower::On},
                {PBT_POWERSETTINGCHANGE, console, 4, 3, DisplayPower::Unknown}, {PBT_POWERSETTINGCHANGE, console, 3, 1, DisplayPower::Unknown},
                {PBT_POWERSETTINGCHANGE, GUID{}, 4, 1, DisplayPower::Unknown}, {PBT_APMRESUMESUSPEND, console, 4, 1, DisplayPower::Unknown}};
    for (const auto& row : rows) {
        const struct { GUID guid; DWORD length, data; } setting{row.guid, row.length, row.data};
        EXPECT_EQ(DisplayPowerOf(row.wParam, reinterpret_cast<LPARAM>(&setting)), row.power) << row.wParam << " " << row.data;
    }
}

// A failed creation does not read as done; a file held unshared fails as a sharing violation.
TEST(FrameworkObjects, FailuresReadAsFailures) {
    EXPECT_FALSE(CGdiObject().Attach(nullptr));
    zorv::TempDir dir;
    zorv::WriteFileText(dir / "b", "b");
    CFile held, again;
    CFileException error;
    EXPECT_TRUE(held.Open((dir / "b").string().c_str(), CFile::modeRead | CFile::shareExclusive) &&
                !again.Open((dir / "b").string().c_str(), CFile::modeRead | CFile::shareDenyWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
}

}  // namespace
