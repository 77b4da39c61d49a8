// The framework window: a C++ object bound to a window handle through the
// thread's handle map, with message maps walked from the most derived class up.
#pragma once

#include <windows.h>

#include "framework/DC.h"

class CWnd;

// One message-map row. Handlers are small thunks that unpack wParam and lParam
// for the member function they call; nCode and the id range matter for WM_COMMAND.
using MessageThunk = LRESULT (*)(CWnd* pWnd, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    MessageThunk pfn;  // null ends the table
};

struct MessageMap {
    const MessageMap* pBaseMap;  // null at the root
    const MessageMapEntry* pEntries;
};

// Framework set-up for the windows of one module, and its teardown.
void FrameworkInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow);
void FrameworkTerm();
HINSTANCE FrameworkInstance();  // null outside FrameworkInit..FrameworkTerm

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    virtual const char* GetRuntimeClassName() const { return "CWnd"; }

    // Binds the object to `hWnd` and registers it as that handle's permanent object.
    BOOL Attach(HWND hWnd);
    HWND Detach();
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Runs the message through the maps; DefaultProc when no row matches.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);


    HWND m_hWnd = nullptr;

protected:
    // The message being handled, passed on unchanged to DefaultProc.
    LRESULT Default();
    // What happens to a message no map row handles.
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The last message of a window: default processing, then detach.
    void OnNcDestroy();

    virtual const MessageMap* GetMessageMap() const { return &s_messageMap; }
    static const MessageMap s_messageMap;
    static const MessageMapEntry s_messageEntries[];

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current{0, 0, 0};
};

// Declares a class's map; the class name gives the thunks their type.
#define DECLARE_MESSAGE_MAP(theClass)                                          \
protected:                                                                     \
    using ThisClass = theClass;                                                \
    const MessageMap* GetMessageMap() const override { return &s_messageMap; } \
    static const MessageMap s_messageMap;                                      \
    static const MessageMapEntry s_messageEntries[];

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                               \
    const MessageMap theClass::s_messageMap = {&baseClass::s_messageMap, theClass::s_messageEntries}; \
    const MessageMapEntry theClass::s_messageEntries[] = {
#define END_MESSAGE_MAP() {0, 0, 0, 0, nullptr}};

#define ZORV_MAP_ROW(message, body) \
    {message, 0, 0, 0, [](CWnd* pWnd, WPARAM wParam, LPARAM lParam) -> LRESULT { \
        ThisClass* self = static_cast<ThisClass*>(pWnd); (void)wParam; (void)lParam; body }},

#define ON_WM_CREATE() ZORV_MAP_ROW(WM_CREATE, return self->OnCreate(reinterpret_cast<LPCREATESTRUCTA>(lParam));)
#define ON_WM_ERASEBKGND() \
    ZORV_MAP_ROW(WM_ERASEBKGND, CDC dc(reinterpret_cast<HDC>(wParam)); return self->OnEraseBkgnd(&dc);)
#define ON_WM_PAINT() ZORV_MAP_ROW(WM_PAINT, self->OnPaint(); return 0;)
// The changing window's object, or null when it is no framework window.
#define ON_WM_PALETTECHANGED() \
    ZORV_MAP_ROW(WM_PALETTECHANGED, self->OnPaletteChanged(CWnd::FromHandlePermanent(reinterpret_cast<HWND>(wParam))); return 0;)
#define ON_WM_QUERYNEWPALETTE() ZORV_MAP_ROW(WM_QUERYNEWPALETTE, return self->OnQueryNewPalette();)
#define ON_WM_TIMER() ZORV_MAP_ROW(WM_TIMER, self->OnTimer(static_cast<UINT_PTR>(wParam)); return 0;)
#define ON_WM_CLOSE() ZORV_MAP_ROW(WM_CLOSE, self->OnClose(); return 0;)
#define ON_WM_DESTROY() ZORV_MAP_ROW(WM_DESTROY, self->OnDestroy(); return 0;)
#define ON_WM_NCDESTROY() ZORV_MAP_ROW(WM_NCDESTROY, self->OnNcDestroy(); return 0;)
#define ON_MESSAGE(message, memberFxn) ZORV_MAP_ROW(message, return self->memberFxn(wParam, lParam);)
// WM_COMMAND rows match the notification code and an inclusive control-id range.
#define ON_COMMAND_RANGE_CODE(code, id, lastId, memberFxn)                                 \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(lastId), \
     [](CWnd* pWnd, WPARAM wParam, LPARAM) -> LRESULT {                                     \
         static_cast<ThisClass*>(pWnd)->memberFxn(LOWORD(wParam)); return 0; }},
