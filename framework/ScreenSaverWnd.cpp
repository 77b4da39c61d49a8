// The saver window's framework half: creation, black background, painting
// through OnDraw, palette realisation, and ForwardToSaverObject.
#include "framework/ScreenSaverWnd.h"

#include "framework/PaintDC.h"

CScreenSaverWnd* g_pSaverWnd = nullptr;

namespace {

SaverDefaultProc g_pfnSaverDefault = nullptr;

}  // namespace

void SetSaverDefaultProc(SaverDefaultProc pfnDefault) { g_pfnSaverDefault = pfnDefault; }

BEGIN_MESSAGE_MAP(CScreenSaverWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_PALETTECHANGED()
    ON_WM_QUERYNEWPALETTE()
END_MESSAGE_MAP()

CScreenSaverWnd::CScreenSaverWnd() { g_pSaverWnd = this; }

CScreenSaverWnd::~CScreenSaverWnd() { g_pSaverWnd = nullptr; }

void CScreenSaverWnd::OnDraw(CDC*) {}
void CScreenSaverWnd::RestartTimer() {}
void CScreenSaverWnd::SaveOptions() {}
void CScreenSaverWnd::RestoreOptions() {}

LRESULT CScreenSaverWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_pfnSaverDefault != nullptr) return g_pfnSaverDefault(m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

int CScreenSaverWnd::OnCreate(LPCREATESTRUCTA) {
    if (Default() == -1) return -1;
    // Options first: the timer period may depend on them.
    RestoreOptions();
    RestartTimer();
    return 0;
}

BOOL CScreenSaverWnd::OnEraseBkgnd(CDC* pDC) {
    if (m_bAutoBlack) {
        RECT rect;
        ::GetClientRect(m_hWnd, &rect);
        pDC->FillSolidRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, RGB(0, 0, 0));
    }
    return TRUE;  // the system never erases this window itself
}

void CScreenSaverWnd::OnPaint() {
    CPaintDC dc(m_hWnd);
    if (m_pPalette != nullptr) {
        dc.SelectPalette(m_pPalette->GetSafeHandle(), FALSE);
        dc.RealizePalette();
    }
    OnDraw(&dc);
}

BOOL CScreenSaverWnd::OnQueryNewPalette() {
    if (m_pPalette == nullptr) return FALSE;
    CClientDC dc(m_hWnd);
    dc.SelectPalette(m_pPalette->GetSafeHandle(), FALSE);
    dc.RealizePalette();
    return TRUE;
}

void CScreenSaverWnd::OnPaletteChanged(CWnd* pFocusWnd) {
    if (pFocusWnd != this) OnQueryNewPalette();
}

LRESULT ForwardToSaverObject(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CScreenSaverWnd* pWnd = g_pSaverWnd;
    if (pWnd == nullptr) return 0;
    if (pWnd->m_hWnd == nullptr) {
        // The first message arrives inside CreateWindowExA, before WM_CREATE.
        FrameworkInit(reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(hWnd, GWLP_HINSTANCE)), nullptr, const_cast<LPSTR>(""),
                      SW_SHOWNORMAL);
        pWnd->Attach(hWnd);
    }
    const LRESULT result = pWnd->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) FrameworkTerm();  // OnNcDestroy has detached the object by now
    return result;
}
