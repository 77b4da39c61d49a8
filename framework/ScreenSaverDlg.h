// CScreenSaverDlg, the framework dialog the configuration dialog derives from,
// its one object `g_pSaverDlg`, and `ConfigDialogProc`, which binds the two.
#pragma once

#include <windows.h>

#include "framework/Dialog.h"

class CScreenSaverDlg : public CDialog {
public:
    CScreenSaverDlg();
    ~CScreenSaverDlg() override;

    const char* GetRuntimeClassName() const override { return "CScreenSaverDlg"; }

    // The user's options are loaded through the saver window object first, so
    // the controls are filled from what the settings file holds now.
    BOOL OnInitDialog() override;

protected:
    // 0 for everything: the system's dialog manager then does its own default work.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int OnCreate(LPCREATESTRUCTA pCreate);

    DECLARE_MESSAGE_MAP(CScreenSaverDlg)
};

extern CScreenSaverDlg* g_pSaverDlg;

// The dialog procedure of the configuration dialog (template 2003).
INT_PTR CALLBACK ConfigDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// A dialog map row for a button's BN_CLICKED; handled commands answer TRUE.
#define ON_BN_CLICKED_DLG(id, memberFxn)                                  \
    {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), static_cast<UINT>(id), \
     [](CWnd* pWnd, WPARAM, LPARAM) -> LRESULT {                          \
         static_cast<ThisClass*>(pWnd)->memberFxn();                      \
         return TRUE;                                                      \
     }},
