// The settings dialog in-process under Wine, for what only the framework
// decides: how often options are read and written, refused data exchange and
// missing objects. Controls, file text and exit codes are checked end to end.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

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

const char kItersOnly[] = "[ZorvSaver]\r\nIters=55\r\n";

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

TEST_F(ConfigDialog, CancelWithoutAFileCreatesNone) {
    EXPECT_EQ(RunDialog([](HWND hDlg) { Click(hDlg, IDCANCEL); }), IDCANCEL);
    EXPECT_EQ(SettingsText(), "<none>");
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
    SetSettingsText(kItersOnly);
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
    EXPECT_EQ(SettingsText(), kItersOnly);
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
    SetSettingsText(kItersOnly);
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
