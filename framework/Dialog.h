// CDialog, the framework dialog: data exchange between the dialog's controls
// and the program, initialisation, OK and Cancel, and ending the modal loop.
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

// The direction of one data exchange and its outcome. A `DoDataExchange` that
// cannot accept what it finds calls Fail(); the exchange then counts as failed.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    void Fail() { m_bFailed = TRUE; }
    BOOL Failed() const { return m_bFailed; }

    BOOL m_bSaveAndValidate;  // TRUE: controls → program; FALSE: program → controls
    CWnd* m_pDlgWnd;

private:
    BOOL m_bFailed = FALSE;
};

class CDialog : public CWnd {
public:
    // The template and the parent come from whoever runs the dialog (DialogBoxParamA).
    CDialog() = default;

    const char* GetRuntimeClassName() const override { return "CDialog"; }

    // Fills the controls; a failing exchange ends the dialog with -1 at once.
    virtual BOOL OnInitDialog();
    // Stores the controls and ends with IDOK; a failing exchange keeps the dialog open.
    virtual void OnOK();
    // Ends with IDCANCEL; nothing is stored.
    virtual void OnCancel();

    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    static constexpr int kHelpButtonId = 0xE146;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
};

// The class test: the object is a CDialog or derives from one.
inline BOOL IsDialogObject(const CWnd* pWnd) { return dynamic_cast<const CDialog*>(pWnd) != nullptr; }
