// CDialog, the framework dialog: data exchange between the dialog's controls
// and the program, initialisation, OK and Cancel, and ending the modal loop.
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

// The direction of one data exchange.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;  // TRUE: controls → program; FALSE: program → controls
    CWnd* m_pDlgWnd;
};

class CDialog : public CWnd {
public:
    // The template and the parent come from whoever runs the dialog (DialogBoxParamA).
    CDialog() = default;

    const char* GetRuntimeClassName() const override { return "CDialog"; }

    // Fills the controls.
    virtual BOOL OnInitDialog();
    // Stores the controls and ends with IDOK.
    virtual void OnOK();
    // Ends with IDCANCEL; nothing is stored.
    virtual void OnCancel();

    void EndDialog(int nResult);
    void UpdateData(BOOL bSaveAndValidate = TRUE);

    static constexpr int kHelpButtonId = 0xE146;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
};

// The class test: the object is a CDialog or derives from one.
inline BOOL IsDialogObject(const CWnd* pWnd) { return dynamic_cast<const CDialog*>(pWnd) != nullptr; }
