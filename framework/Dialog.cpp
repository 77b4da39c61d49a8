// The framework dialog's initialisation, data exchange, OK, Cancel and end.
#include "framework/Dialog.h"

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    // The program offers no help, so a template's help button would lead nowhere.
    if (HWND hHelp = ::GetDlgItem(m_hWnd, kHelpButtonId); hHelp != nullptr) ::ShowWindow(hHelp, SW_HIDE);
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

void CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
}

void CDialog::DoDataExchange(CDataExchange*) {}
