// The configuration dialog: the portable dialog logic carried out on the real
// controls with GetDlgItem, track bar and button messages, and EnableWindow.
#include "settings/FractalSaverDlg.h"

#include <commctrl.h>

#include "framework/ScreenSaverWnd.h"
#include "settings/ConfigControls.h"

namespace {

// The controls of one dialog window; a missing control makes each call a no-op.
class CDialogControls : public zorv::ConfigControls {
public:
    explicit CDialogControls(HWND hDlg) : m_hDlg(hDlg) {}

    bool Exists(int id) override { return Item(id) != nullptr; }
    void SetRange(int id, std::int32_t min, std::int32_t max) override {
        Send(id, TBM_SETRANGEMIN, FALSE, min);
        Send(id, TBM_SETRANGEMAX, FALSE, max);
    }
    void SetPos(int id, std::int32_t pos) override { Send(id, TBM_SETPOS, TRUE, pos); }
    std::int32_t GetPos(int id) override { return static_cast<std::int32_t>(Send(id, TBM_GETPOS, 0, 0)); }
    void SetCheck(int id, bool checked) override { Send(id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }
    void Enable(int id, bool enabled) override {
        if (HWND hItem = Item(id); hItem != nullptr) ::EnableWindow(hItem, enabled ? TRUE : FALSE);
    }

private:
    HWND Item(int id) const { return ::GetDlgItem(m_hDlg, id); }
    LRESULT Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
        HWND hItem = Item(id);
        return hItem != nullptr ? ::SendMessageA(hItem, message, wParam, lParam) : 0;
    }

    HWND m_hDlg;  // borrowed
};

}  // namespace

const MessageMap CFractalSaverDlg::s_messageMap = {&CScreenSaverDlg::s_messageMap, CFractalSaverDlg::s_messageEntries};
const MessageMapEntry CFractalSaverDlg::s_messageEntries[] = {
    ON_BN_CLICKED_DLG(zorv::kIdSetDefaults, OnSetDefaults)
    ON_BN_CLICKED_DLG(zorv::kIdRandomSettings, OnRandomSettings)
    // Answered 0 through Default: the dialog manager paints and picks the drag icon.
    ZORV_MAP_ROW(WM_PAINT, return self->Default();)
    ZORV_MAP_ROW(WM_QUERYDRAGICON, return self->Default();)
    ON_BN_CLICKED_DLG(zorv::kIdSaveImage, OnSaveImage)
    ON_BN_CLICKED_DLG(zorv::kIdAllMonitors, OnAllMonitors)
END_MESSAGE_MAP()

BOOL CFractalSaverDlg::OnInitDialog() {
    CScreenSaverDlg::OnInitDialog();
    // The template marks OK, Cancel and "Set Defaults" as default buttons, and the
    // dialog manager takes the last of them for the Enter key: Enter would reset
    // every setting instead of confirming. Enter means OK.
    ::SendMessageA(m_hWnd, DM_SETDEFID, IDOK, 0);
    return TRUE;
}

void CFractalSaverDlg::DoDataExchange(CDataExchange* pDX) {
    if (g_pSaverWnd == nullptr) return;
    CDialogControls controls(m_hWnd);
    if (pDX->m_bSaveAndValidate) {
        zorv::StoreControls(m_settings, controls);
        g_pSaverWnd->SaveOptions();
    } else {
        g_pSaverWnd->RestoreOptions();
        zorv::LoadControls(m_settings, controls);
    }
}

void CFractalSaverDlg::OnSetDefaults() {
    if (g_pSaverWnd == nullptr) return;
    CDialogControls controls(m_hWnd);
    zorv::ResetToDefaults(m_settings, controls);
}

void CFractalSaverDlg::OnRandomSettings() {
    CDialogControls controls(m_hWnd);
    zorv::ToggleRandomSettings(m_settings, controls);
}

void CFractalSaverDlg::OnSaveImage() {
    CDialogControls controls(m_hWnd);
    zorv::ToggleSaveImage(m_settings, controls);
}

void CFractalSaverDlg::OnAllMonitors() {
    CDialogControls controls(m_hWnd);
    zorv::ToggleAllMonitors(m_settings, controls);
}
