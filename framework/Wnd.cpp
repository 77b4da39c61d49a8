// The framework window's handle map, message-map walk and default processing.
#include "framework/Wnd.h"

#include <map>

namespace {

// One thread touches windows, so the map needs no lock.
std::map<HWND, CWnd*>& HandleMap() {
    static std::map<HWND, CWnd*> map;
    return map;
}

HINSTANCE g_hFrameworkInstance = nullptr;

bool Matches(const MessageMapEntry& entry, UINT message, WPARAM wParam) {
    if (entry.nMessage != message) return false;
    if (message != WM_COMMAND) return true;
    const UINT code = HIWORD(wParam);
    const UINT id = LOWORD(wParam);
    return entry.nCode == code && id >= entry.nID && id <= entry.nLastID;
}

}  // namespace

void FrameworkInit(HINSTANCE hInstance, HINSTANCE, LPSTR, int) { g_hFrameworkInstance = hInstance; }

// The framework registers no window classes and installs no hooks, so ending
// it only forgets the module.
void FrameworkTerm() { g_hFrameworkInstance = nullptr; }

HINSTANCE FrameworkInstance() { return g_hFrameworkInstance; }

const MessageMap CWnd::s_messageMap = {nullptr, CWnd::s_messageEntries};
const MessageMapEntry CWnd::s_messageEntries[] = {
    {WM_NCDESTROY, 0, 0, 0,
     [](CWnd* pWnd, WPARAM, LPARAM) -> LRESULT {
         pWnd->OnNcDestroy();
         return 0;
     }},
    {0, 0, 0, 0, nullptr},
};

CWnd::~CWnd() {
    if (m_hWnd != nullptr) Detach();
}

BOOL CWnd::Attach(HWND hWnd) {
    if (hWnd == nullptr || m_hWnd != nullptr) return FALSE;
    m_hWnd = hWnd;
    HandleMap()[hWnd] = this;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        auto& map = HandleMap();
        auto it = map.find(hWnd);
        if (it != map.end() && it->second == this) map.erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto& map = HandleMap();
    auto it = map.find(hWnd);
    return it != map.end() ? it->second : nullptr;
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    // Handlers send messages to their own window; each level keeps its own current message.
    const CurrentMessage outer = m_current;
    m_current = {message, wParam, lParam};
    LRESULT result = 0;
    const MessageMapEntry* found = nullptr;
    for (const MessageMap* map = GetMessageMap(); map != nullptr && found == nullptr; map = map->pBaseMap) {
        for (const MessageMapEntry* entry = map->pEntries; entry->pfn != nullptr; ++entry) {
            if (Matches(*entry, message, wParam)) {
                found = entry;
                break;
            }
        }
    }
    result = found != nullptr ? found->pfn(this, wParam, lParam) : DefaultProc(message, wParam, lParam);
    m_current = outer;
    return result;
}

LRESULT CWnd::Default() { return DefaultProc(m_current.message, m_current.wParam, m_current.lParam); }

LRESULT CWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

void CWnd::OnNcDestroy() {
    Default();
    Detach();
}
