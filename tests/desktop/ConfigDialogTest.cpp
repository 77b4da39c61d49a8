// The settings dialog for real under Wine: opened from template 2003 through
// ConfigDialogProc and driven by messages from inside its modal loop, with the
// exact text of the settings file and the dialog's result checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "fractal/FractalSaverWnd.h"
#include "fractal/SaverObjects.h"
#include "framework/ScreenSaverDlg.h"
#include "framework/ScreenSaverWnd.h"
#include "tests/desktop/DialogTestSupport.h"

namespace zorv {
namespace {

using test::Click;
using test::DialogState;
using test::ReadState;
using test::RunDialog;
using test::SetSettingsText;
using test::SettingsText;

const std::array<int, 6> kDefaultPos = {37, 30, 20, 16, 30, 10};
const std::array<bool, 6> kAllEnabled = {true, true, true, true, true, true};
const std::array<bool, 6> kAllDisabled = {false, false, false, false, false, false};

std::string FileOf(const std::vector<std::string>& lines) {
    std::string text = "[ZorvSaver]\r\n";
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

class ConfigDialog : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(g_pSaverDlg, nullptr);
        ASSERT_NE(g_pSaverWnd, nullptr);
        m_saved = g_settings;
        test::RemoveSettingsFile();
    }
    void TearDown() override {
        test::RemoveSettingsFile();
        g_settings = m_saved;
    }

private:
    SaverSettings m_saved{};
};

TEST_F(ConfigDialog, WithoutAFileItShowsTheDefaultsAndCancelCreatesNone) {
    DialogState state;
    const INT_PTR result = RunDialog([&](HWND hDlg) {
        state = ReadState(hDlg);
        EXPECT_EQ(SendDlgItemMessageA(hDlg, 1007, TBM_GETRANGEMAX, 0, 0), 50);
        EXPECT_EQ(SendDlgItemMessageA(hDlg, 1002, TBM_GETRANGEMAX, 0, 0), 100);
        EXPECT_EQ(SendDlgItemMessageA(hDlg, 1003, TBM_GETRANGEMIN, 0, 0), 0);
        Click(hDlg, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(state.pos, kDefaultPos);
    EXPECT_EQ(state.enabled, kAllEnabled);
    EXPECT_FALSE(state.random);
    EXPECT_FALSE(state.save);
    EXPECT_EQ(SettingsText(), "<none>");
}

TEST_F(ConfigDialog, OkWritesAllEightKeysInOrderWithTheThumbsAndToggles) {
    DialogState afterClick;
    const INT_PTR result = RunDialog([&](HWND hDlg) {
        SendDlgItemMessageA(hDlg, 1003, TBM_SETPOS, TRUE, 77);  // the user's move
        SendDlgItemMessageA(hDlg, 1007, TBM_SETPOS, TRUE, 99);  // beyond the range: clamps to 50
        Click(hDlg, 1008);
        afterClick = ReadState(hDlg);
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(afterClick.random);
    EXPECT_EQ(afterClick.enabled, kAllDisabled);
    EXPECT_EQ(SettingsText(), FileOf({"Cycles=37", "Iters=77", "Constant=20", "Scale=16", "View=30", "Spread=50",
                                      "RandomSettings=1", "SaveImage=0"}));
    EXPECT_EQ(g_settings.Iters, 77);
    EXPECT_EQ(g_settings.Spread, 50.0);
}

TEST_F(ConfigDialog, StoredTogglesOpenMarkedAndDisabledShowingStoredValues) {
    struct Case {
        const char* random;
        const char* save;
        bool mark1008, mark1010;
        std::array<bool, 6> enabled;
    };
    const Case cases[] = {
        {"1", "0", true, false, kAllDisabled},
        {"0", "1", false, true, kAllEnabled},
        {"7", "1", true, true, kAllDisabled},  // any non-zero value counts as on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "RandomSettings=" << c.random << " SaveImage=" << c.save);
        const std::string file = FileOf({"Cycles=5", "Iters=6", "Constant=7", "Scale=8", "View=9", "Spread=11",
                                         std::string("RandomSettings=") + c.random, std::string("SaveImage=") + c.save});
        SetSettingsText(file);
        DialogState state;
        const INT_PTR result = RunDialog([&](HWND hDlg) {
            state = ReadState(hDlg);
            Click(hDlg, IDOK);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(state.pos, (std::array<int, 6>{5, 6, 7, 8, 9, 11}));
        EXPECT_EQ(state.random, c.mark1008);
        EXPECT_EQ(state.save, c.mark1010);
        EXPECT_EQ(state.enabled, c.enabled);
        // OK writes the disabled track bars' values back unchanged; booleans as 0 or 1.
        EXPECT_EQ(SettingsText(), FileOf({"Cycles=5", "Iters=6", "Constant=7", "Scale=8", "View=9", "Spread=11",
                                          std::string("RandomSettings=") + (c.mark1008 ? "1" : "0"),
                                          std::string("SaveImage=") + c.save}));
    }
}

TEST_F(ConfigDialog, OutOfRangeStoredValuesAreClampedByTheTrackBarsAndSavedClamped) {
    SetSettingsText("[Other]\r\nkeep=me\r\n[ZorvSaver]\r\nIters=500\r\nSpread=80\r\nView=-5\r\n");
    DialogState state;
    const INT_PTR result = RunDialog([&](HWND hDlg) {
        state = ReadState(hDlg);
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    // View "-5" reads back as a huge unsigned value: the top of the range.
    EXPECT_EQ(state.pos, (std::array<int, 6>{37, 100, 20, 16, 100, 50}));
    // Present keys keep their place; the others are added at the end of the section.
    EXPECT_EQ(SettingsText(), "[Other]\r\nkeep=me\r\n" + FileOf({"Iters=100", "Spread=50", "View=100", "Cycles=37",
                                                                  "Constant=20", "Scale=16", "RandomSettings=0",
                                                                  "SaveImage=0"}));
}

TEST_F(ConfigDialog, TogglesFlipInMemoryAndClickingTwiceRestoresEverything) {
    DialogState once, twice, saveOn;
    const INT_PTR result = RunDialog([&](HWND hDlg) {
        Click(hDlg, 1008);
        once = ReadState(hDlg);
        EXPECT_EQ(g_settings.RandomSettings, 1);
        Click(hDlg, 1008);
        twice = ReadState(hDlg);
        EXPECT_EQ(g_settings.RandomSettings, 0);
        Click(hDlg, 1010);
        saveOn = ReadState(hDlg);
        EXPECT_EQ(g_settings.SaveImage, 1);
        Click(hDlg, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(once.random);
    EXPECT_EQ(once.enabled, kAllDisabled);
    EXPECT_EQ(once.pos, kDefaultPos);
    EXPECT_FALSE(twice.random);
    EXPECT_EQ(twice.enabled, kAllEnabled);
    EXPECT_TRUE(saveOn.save);
    EXPECT_FALSE(saveOn.random);
    EXPECT_EQ(SettingsText(), "<none>");
}

TEST_F(ConfigDialog, SetDefaultsResetsEverythingInMemoryButWritesNothingUntilOk) {
    const std::string stored = FileOf({"Cycles=90", "Iters=91", "Constant=92", "Scale=93", "View=94", "Spread=45",
                                       "RandomSettings=1", "SaveImage=1"});
    SetSettingsText(stored);
    DialogState before, after;
    std::string fileBeforeOk;
    const INT_PTR result = RunDialog([&](HWND hDlg) {
        before = ReadState(hDlg);
        Click(hDlg, 1001);
        after = ReadState(hDlg);
        fileBeforeOk = SettingsText();
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(before.pos, (std::array<int, 6>{90, 91, 92, 93, 94, 45}));
    EXPECT_TRUE(before.random && before.save);
    EXPECT_EQ(after.pos, kDefaultPos);
    EXPECT_FALSE(after.random);
    EXPECT_FALSE(after.save);
    EXPECT_EQ(after.enabled, kAllEnabled);
    EXPECT_EQ(fileBeforeOk, stored);
    EXPECT_EQ(SettingsText(), FileOf({"Cycles=37", "Iters=30", "Constant=20", "Scale=16", "View=30", "Spread=10",
                                      "RandomSettings=0", "SaveImage=0"}));
}

TEST_F(ConfigDialog, CancelEscapeAndCloseBoxEndWithTwoAndLeaveTheFileByteForByte) {
    // Odd spacing and another section: anything the API rewrote would show.
    const std::string stored = "; mine\r\n[ZorvSaver]\r\nIters = 44\r\nSaveImage=1\r\n\r\n[Other]\r\nx=1";
    const struct {
        const char* name;
        void (*end)(HWND);
    } ways[] = {
        {"Cancel button", [](HWND hDlg) { Click(hDlg, IDCANCEL); }},
        {"Escape key", [](HWND hDlg) { test::PressKey(hDlg, VK_ESCAPE); }},
        {"close box", [](HWND hDlg) { PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        SetSettingsText(stored);
        DialogState state;
        const INT_PTR result = RunDialog([&](HWND hDlg) {
            state = ReadState(hDlg);
            SendDlgItemMessageA(hDlg, 1002, TBM_SETPOS, TRUE, 3);
            Click(hDlg, 1008);
            Click(hDlg, 1001);
            Click(hDlg, 1010);
            way.end(hDlg);
        });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(state.pos[1], 44);
        EXPECT_TRUE(state.save);
        EXPECT_EQ(SettingsText(), stored);
    }
}

TEST_F(ConfigDialog, EnterEndsWithOkAfterStoring) {
    const INT_PTR result = RunDialog([](HWND hDlg) {
        EXPECT_EQ(LOWORD(SendMessageA(hDlg, DM_GETDEFID, 0, 0)), IDOK);
        SendDlgItemMessageA(hDlg, 1005, TBM_SETPOS, TRUE, 61);
        test::PressKey(hDlg, VK_RETURN);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(SettingsText(), FileOf({"Cycles=37", "Iters=30", "Constant=20", "Scale=61", "View=30", "Spread=10",
                                      "RandomSettings=0", "SaveImage=0"}));
}

// A saver window object that counts what the dialog asks of it and passes the
// loads and saves on to the program's own.
class CCountingSaverWnd : public CScreenSaverWnd {
public:
    int m_nRestores = 0;
    int m_nSaves = 0;
    void RestoreOptions() override {
        ++m_nRestores;
        g_saverWnd.RestoreOptions();
    }
    void SaveOptions() override {
        ++m_nSaves;
        g_saverWnd.SaveOptions();
    }
};

class SwapSaverWndObject {
public:
    SwapSaverWndObject() : m_saved(g_pSaverWnd) {}
    ~SwapSaverWndObject() { g_pSaverWnd = m_saved; }

private:
    CScreenSaverWnd* m_saved;
};

TEST_F(ConfigDialog, OpeningReadsTheFileTwiceAndOnlyOkWritesIt) {
    const struct {
        int button;
        INT_PTR result;
        int saves;
    } cases[] = {{IDOK, IDOK, 1}, {IDCANCEL, IDCANCEL, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        SwapSaverWndObject swap;
        CCountingSaverWnd counter;
        int restoresWhileOpen = -1;
        const INT_PTR result = RunDialog([&](HWND hDlg) {
            restoresWhileOpen = counter.m_nRestores;
            Click(hDlg, c.button);
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(restoresWhileOpen, 2);
        EXPECT_EQ(counter.m_nRestores, 2);
        EXPECT_EQ(counter.m_nSaves, c.saves);
    }
}

TEST_F(ConfigDialog, WithoutASaverWindowObjectNothingIsReadResetOrWritten) {
    SwapSaverWndObject swap;
    g_pSaverWnd = nullptr;
    SetSettingsText(FileOf({"Iters=55"}));
    DialogState opened, afterDefaults, afterToggle;
    const INT_PTR result = RunDialog([&](HWND hDlg) {
        opened = ReadState(hDlg);
        Click(hDlg, 1001);
        afterDefaults = ReadState(hDlg);
        Click(hDlg, 1010);  // the toggles work on the settings alone
        afterToggle = ReadState(hDlg);
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(opened.pos, (std::array<int, 6>{0, 0, 0, 0, 0, 0})) << "the controls stay as the template made them";
    EXPECT_EQ(afterDefaults.pos, opened.pos);
    EXPECT_TRUE(afterToggle.save);
    EXPECT_EQ(SettingsText(), FileOf({"Iters=55"}));
}

// A dialog object whose data exchange refuses, for the framework's paths.
class CRefusingDlg : public CScreenSaverDlg {
public:
    bool m_bRefuseLoad = false;
    bool m_bRefuseStore = false;
    int m_nStores = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        if (pDX->m_bSaveAndValidate) ++m_nStores;
        if (pDX->m_bSaveAndValidate ? m_bRefuseStore : m_bRefuseLoad) pDX->Fail();
    }
};

// Makes `dlg` the dialog object for one test and puts the program's back after.
class SwapDialogObject {
public:
    SwapDialogObject() : m_saved(g_pSaverDlg) {}
    ~SwapDialogObject() { g_pSaverDlg = m_saved; }

private:
    CScreenSaverDlg* m_saved;
};

TEST_F(ConfigDialog, ExchangeRefusedOnLoadEndsAtOnceWithMinusOne) {
    SwapDialogObject swap;
    CRefusingDlg dlg;
    dlg.m_bRefuseLoad = true;
    // Cancel would end it with 2: only a dialog that never got that far answers -1.
    EXPECT_EQ(RunDialog([](HWND hDlg) { Click(hDlg, IDCANCEL); }), -1);
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "the object is detached when the dialog is destroyed";
}

TEST_F(ConfigDialog, ExchangeRefusedOnStoreKeepsTheDialogOpen) {
    SwapDialogObject swap;
    CRefusingDlg dlg;
    dlg.m_bRefuseStore = true;
    bool openAfterOk = false;
    const INT_PTR result = RunDialog([&](HWND hDlg) {
        Click(hDlg, IDOK);
        openAfterOk = IsWindow(hDlg) && IsWindowVisible(hDlg);
        EXPECT_EQ(dlg.m_hWnd, hDlg);
        Click(hDlg, IDCANCEL);
    });
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(dlg.m_nStores, 1);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(ConfigDialog, WithoutADialogObjectOnlyTheSystemDefaultsRunIt) {
    SwapDialogObject swap;
    g_pSaverDlg = nullptr;
    SetSettingsText(FileOf({"Iters=55"}));
    DialogState state;
    bool openAfterCancel = false;
    const INT_PTR result = RunDialog([&](HWND hDlg) {
        EXPECT_EQ(ConfigDialogProc(hDlg, WM_INITDIALOG, 0, 0), FALSE);
        state = ReadState(hDlg);
        Click(hDlg, IDCANCEL);  // nobody there to end the dialog
        openAfterCancel = IsWindow(hDlg) != FALSE;
        EndDialog(hDlg, 77);
    });
    EXPECT_EQ(result, 77);
    EXPECT_TRUE(openAfterCancel);
    EXPECT_EQ(state.pos[1], 0) << "nothing filled the controls";
}

}  // namespace
}  // namespace zorv
