// The configuration dialog's framework half: the one dialog object, its map,
// and the dialog procedure that attaches it and hands it every message.
#include "framework/ScreenSaverDlg.h"

#include "framework/ScreenSaverWnd.h"

CScreenSaverDlg* g_pSaverDlg = nullptr;

namespace {

// The root of the dialog's maps has no rows: the framework's standard window and
// dialog handling (colours, fonts, help) is left to the system's dialog manager.
const MessageMapEntry kRootEntries[] = {{0, 0, 0, 0, nullptr}};
const MessageMap kRootMap = {nullptr, kRootEntries};

}  // namespace

const MessageMap CScreenSaverDlg::s_messageMap = {&kRootMap, CScreenSaverDlg::s_messageEntries};
const MessageMapEntry CScreenSaverDlg::s_messageEntries[] = {
    ON_WM_NCDESTROY()
    ON_WM_CREATE()
    ON_BN_CLICKED_DLG(IDOK, OnOK)
    ON_BN_CLICKED_DLG(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CScreenSaverDlg::CScreenSaverDlg() { g_pSaverDlg = this; }

CScreenSaverDlg::~CScreenSaverDlg() { g_pSaverDlg = nullptr; }

BOOL CScreenSaverDlg::OnInitDialog() {
    if (g_pSaverWnd != nullptr) g_pSaverWnd->RestoreOptions();
    return CDialog::OnInitDialog();
}

LRESULT CScreenSaverDlg::DefaultProc(UINT, WPARAM, LPARAM) { return 0; }

int CScreenSaverDlg::OnCreate(LPCREATESTRUCTA) { return Default() == -1 ? -1 : 0; }

namespace {

INT_PTR ConfigDialogProcBody(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
    CScreenSaverDlg* pDlg = g_pSaverDlg;
    if (pDlg == nullptr) return FALSE;
    if (pDlg->m_hWnd == nullptr) pDlg->Attach(hDlg);  // the dialog's first message

    if (message == WM_INITDIALOG) {
        // Answered here, not through the map: the answer decides the initial focus.
        CWnd* pWnd = CWnd::FromHandlePermanent(hDlg);
        if (pWnd != nullptr && IsDialogObject(pWnd)) return static_cast<CDialog*>(pWnd)->OnInitDialog();
        return TRUE;
    }
    return pDlg->Dispatch(message, wParam, lParam);
}

}  // namespace

// No C++ exception may unwind through the dialog manager: it ends the dialog
// with -1, as a dialog that could not run.
INT_PTR CALLBACK ConfigDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return ConfigDialogProcBody(hDlg, message, wParam, lParam);
    } catch (...) {
        ::EndDialog(hDlg, -1);
        return TRUE;
    }
}
