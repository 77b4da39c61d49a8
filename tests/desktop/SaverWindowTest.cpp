// The framework window under Wine: message maps walked from the most derived
// class up, Default, the handle map and detach, ForwardToSaverObject, and the
// saver window base's creation, erase and palette handlers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ScreenSaverWnd.h"
#include "host/SaverHost.h"

namespace {

constexpr UINT kBaseOnly = WM_APP + 1;
constexpr UINT kBoth = WM_APP + 2;
constexpr UINT kNested = WM_APP + 3;

std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
}

class CMapBase : public CWnd {
public:
    LRESULT OnBaseOnly(WPARAM wParam, LPARAM) {
        Calls().push_back("base-only");
        return static_cast<LRESULT>(wParam) + 1;
    }
    LRESULT OnBoth(WPARAM, LPARAM) {
        Calls().push_back("base-both");
        return 1;
    }
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        Calls().push_back("default " + std::to_string(message) + " " + std::to_string(wParam) + " " +
                          std::to_string(lParam));
        return 77;
    }
    DECLARE_MESSAGE_MAP(CMapBase)
};

BEGIN_MESSAGE_MAP(CMapBase, CWnd)
    ON_MESSAGE(kBaseOnly, OnBaseOnly)
    ON_MESSAGE(kBoth, OnBoth)
END_MESSAGE_MAP()

class CMapDerived : public CMapBase {
public:
    LRESULT OnBoth(WPARAM, LPARAM) {
        Calls().push_back("derived-both");
        return Default();
    }
    LRESULT OnNested(WPARAM wParam, LPARAM) {
        Calls().push_back("nested " + std::to_string(wParam));
        if (wParam > 0) Dispatch(kNested, wParam - 1, 0);
        return Default();  // must still be this level's message
    }
    void OnCommand(UINT id) { Calls().push_back("command " + std::to_string(id)); }
    DECLARE_MESSAGE_MAP(CMapDerived)
};

BEGIN_MESSAGE_MAP(CMapDerived, CMapBase)
    ON_MESSAGE(kBoth, OnBoth)
    ON_MESSAGE(kNested, OnNested)
    ON_COMMAND_RANGE_CODE(BN_CLICKED, 100, 105, OnCommand)
END_MESSAGE_MAP()

TEST(FrameworkWindow, MapsAreWalkedFromTheMostDerivedClassUp) {
    CMapDerived wnd;
    Calls().clear();
    EXPECT_EQ(wnd.Dispatch(kBaseOnly, 41, 0), 42);
    EXPECT_EQ(wnd.Dispatch(kBoth, 5, 6), 77);  // derived row wins, then Default with the same parameters
    EXPECT_EQ(wnd.Dispatch(WM_APP + 9, 8, 9), 77);
    const std::vector<std::string> expected = {"base-only", "derived-both", "default " + std::to_string(kBoth) + " 5 6",
                                               "default " + std::to_string(WM_APP + 9) + " 8 9"};
    EXPECT_EQ(Calls(), expected);
}

TEST(FrameworkWindow, DefaultUsesTheMessageOfItsOwnLevel) {
    CMapDerived wnd;
    Calls().clear();
    wnd.Dispatch(kNested, 1, 0);
    const std::vector<std::string> expected = {"nested 1", "nested 0", "default " + std::to_string(kNested) + " 0 0",
                                               "default " + std::to_string(kNested) + " 1 0"};
    EXPECT_EQ(Calls(), expected);
}

TEST(FrameworkWindow, CommandRowsMatchCodeAndIdRange) {
    CMapDerived wnd;
    const struct {
        WORD code;
        WORD id;
        bool handled;
    } rows[] = {{BN_CLICKED, 100, true}, {BN_CLICKED, 105, true}, {BN_CLICKED, 99, false},
                {BN_CLICKED, 106, false}, {BN_DOUBLECLICKED, 102, false}};
    for (const auto& row : rows) {
        Calls().clear();
        wnd.Dispatch(WM_COMMAND, MAKEWPARAM(row.id, row.code), 0);
        ASSERT_EQ(Calls().size(), 1u);
        EXPECT_EQ(Calls()[0] == "command " + std::to_string(row.id), row.handled) << row.code << " " << row.id;
    }
}

// A saver window object that records its hooks; the host's flags make the
// default procedure pass everything to the system.
class CRecordingSaverWnd : public CScreenSaverWnd {
public:
    void RestoreOptions() override { Calls().push_back("RestoreOptions"); }
    void RestartTimer() override { Calls().push_back(m_hWnd != nullptr ? "RestartTimer attached" : "RestartTimer"); }
};

class SaverWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = g_pSaverWnd;
        g_host = HostState{};
        g_host.bPreview = true;  // no input policy on the test desktop
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Forward;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZorvForwardTest";
        ::RegisterClassA(&wc);
        Calls().clear();
    }
    void TearDown() override {
        g_pSaverWnd = m_previous;
        g_host = HostState{};
    }
    static LRESULT CALLBACK Forward(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return ForwardToSaverObject(hWnd, message, wParam, lParam);
    }
    static HWND Create() {
        return ::CreateWindowExA(0, "ZorvForwardTest", "t", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
    }
    CScreenSaverWnd* m_previous = nullptr;
};

TEST_F(SaverWindowTest, WithoutAnObjectEveryMessageIsAnsweredZero) {
    g_pSaverWnd = nullptr;
    EXPECT_EQ(ForwardToSaverObject(nullptr, WM_NCCREATE, 0, 0), 0);
    // Even WM_NCCREATE gets 0, so no window can be made.
    EXPECT_EQ(Create(), nullptr);
}

TEST_F(SaverWindowTest, AttachesOnTheFirstMessageAndDetachesAtTheLast) {
    CRecordingSaverWnd wnd;
    ASSERT_EQ(g_pSaverWnd, &wnd);
    EXPECT_EQ(FrameworkInstance(), nullptr);
    HWND hWnd = Create();
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(wnd.m_hWnd, hWnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
    EXPECT_EQ(FrameworkInstance(), ::GetModuleHandleA(nullptr));
    // Options first, then the timer, with the object attached by then.
    const std::vector<std::string> expected = {"RestoreOptions", "RestartTimer attached"};
    EXPECT_EQ(Calls(), expected);

    ::DestroyWindow(hWnd);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_EQ(FrameworkInstance(), nullptr);
}

TEST_F(SaverWindowTest, EraseFillsBlackOnlyWithAutoBlack) {
    CRecordingSaverWnd wnd;
    HWND hWnd = Create();
    ASSERT_NE(hWnd, nullptr);
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 80, 60);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);

    for (BOOL autoBlack : {TRUE, FALSE}) {
        ::PatBlt(hMem, 0, 0, 80, 60, WHITENESS);
        wnd.m_bAutoBlack = autoBlack;
        EXPECT_EQ(::SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hMem), 0), TRUE);
        const COLORREF inside = autoBlack ? RGB(0, 0, 0) : RGB(255, 255, 255);
        EXPECT_EQ(::GetPixel(hMem, 0, 0), inside) << autoBlack;
        EXPECT_EQ(::GetPixel(hMem, 63, 47), inside) << autoBlack;
        EXPECT_EQ(::GetPixel(hMem, 64, 48), RGB(255, 255, 255)) << "outside the client area, " << autoBlack;
    }

    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    ::DestroyWindow(hWnd);
}

TEST_F(SaverWindowTest, PaletteQueriesDependOnThePalette) {
    CRecordingSaverWnd wnd;
    HWND hWnd = Create();
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(::SendMessageA(hWnd, WM_QUERYNEWPALETTE, 0, 0), FALSE);

    struct {
        LOGPALETTE header;
        PALETTEENTRY more[1];
    } log{};
    log.header.palVersion = 0x300;
    log.header.palNumEntries = 2;
    log.header.palPalEntry[0] = {255, 0, 0, 0};
    log.more[0] = {0, 0, 255, 0};
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(&log.header));
    wnd.m_pPalette = &palette;
    EXPECT_EQ(::SendMessageA(hWnd, WM_QUERYNEWPALETTE, 0, 0), TRUE);
    wnd.m_pPalette = nullptr;
    ::DestroyWindow(hWnd);
}

}  // namespace
