// CFractalSaverDlg: the saver's configuration dialog over the process's
// settings: six track bars, the three toggles, "Set Defaults", OK and Cancel.
#pragma once

#include <windows.h>

#include "framework/ScreenSaverDlg.h"
#include "settings/SaverSettings.h"

class CFractalSaverDlg : public CScreenSaverDlg {
public:
    // `settings` are the process's, which the dialog shows, edits and saves.
    explicit CFractalSaverDlg(zorv::SaverSettings& settings) : m_settings(settings) {}
    ~CFractalSaverDlg() override = default;

    const char* GetRuntimeClassName() const override { return "CFractalSaverDlg"; }

    // TRUE whatever the base answered, so the system places the first focus.
    BOOL OnInitDialog() override;

    void OnSetDefaults();
    void OnRandomSettings();
    void OnSaveImage();
    void OnAllMonitors();

    static constexpr int kTemplateId = 2003;

protected:
    // Load: reads the settings file (again) and fills the controls. Store:
    // the six positions become the settings and all eight are written.
    void DoDataExchange(CDataExchange* pDX) override;

    zorv::SaverSettings& m_settings;

    DECLARE_MESSAGE_MAP(CFractalSaverDlg)
};
