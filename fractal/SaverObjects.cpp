// Definitions of the saver's global objects in one file, so that their
// construction order is fixed: the generator the window seeds, the saver window,
// the configuration dialog, then the render state and the settings defaults.
#include "fractal/SaverObjects.h"

#include "fractal/FractalSaverWnd.h"
#include "settings/FractalSaverDlg.h"

zorv::Random g_random;
CFractalSaverWnd g_saverWnd;
CFractalSaverDlg g_saverDlg(g_settings);  // bound now, filled with the defaults below
zorv::FractalState g_fractalState{};
zorv::ColorTable g_colorTable{};
zorv::SaverSettings g_settings = zorv::DefaultSettings();

zorv::RenderContext& SaverRenderContext() {
    static zorv::RenderContext context{g_fractalState, g_colorTable, g_settings, g_random};
    return context;
}
