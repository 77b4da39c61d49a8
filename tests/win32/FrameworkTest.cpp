// The framework window's message maps: walked from the most derived class up,
// Default passing on each level's own message, command rows matching code and ids.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Wnd.h"

namespace {

constexpr UINT kBaseOnly = WM_APP + 1, kBoth = WM_APP + 2, kNested = WM_APP + 3;
std::vector<std::string> g_calls;

class CMapBase : public CWnd {
public:
    LRESULT OnBaseOnly(WPARAM wParam, LPARAM) { return Log("base-only", static_cast<LRESULT>(wParam) + 1); }
    LRESULT OnBoth(WPARAM, LPARAM) { return Log("base-both", 1); }
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Log("default " + std::to_string(message - WM_APP) + " " + std::to_string(wParam) + " " + std::to_string(lParam), 77);
    }
    static LRESULT Log(const std::string& call, LRESULT result) {
        g_calls.push_back(call);
        return result;
    }
    DECLARE_MESSAGE_MAP(CMapBase)
};

BEGIN_MESSAGE_MAP(CMapBase, CWnd)
    ON_MESSAGE(kBaseOnly, OnBaseOnly)
    ON_MESSAGE(kBoth, OnBoth)
END_MESSAGE_MAP()

class CMapDerived : public CMapBase {
public:
    LRESULT OnBoth(WPARAM, LPARAM) { return Log("derived-both", Default()); }
    LRESULT OnNested(WPARAM wParam, LPARAM) {
        Log("nested " + std::to_string(wParam), 0);
        if (wParam > 0) Dispatch(kNested, wParam - 1, 0);
        return Default();  // still this level's message
    }
    void OnCommand(UINT id) { Log("command " + std::to_string(id), 0); }
    DECLARE_MESSAGE_MAP(CMapDerived)
};

BEGIN_MESSAGE_MAP(CMapDerived, CMapBase)
    ON_MESSAGE(kBoth, OnBoth)
    ON_MESSAGE(kNested, OnNested)
    ON_COMMAND_RANGE_CODE(BN_CLICKED, 100, 105, OnCommand)
END_MESSAGE_MAP()

TEST(FrameworkWindow, MapsAreWalkedFromTheMostDerivedClassUpAndDefaultKeepsItsLevel) {
    CMapDerived wnd;
    g_calls.clear();
    EXPECT_EQ(wnd.Dispatch(kBaseOnly, 41, 0), 42);
    EXPECT_EQ(wnd.Dispatch(kBoth, 5, 6), 77);
    EXPECT_EQ(wnd.Dispatch(WM_APP + 9, 8, 9), 77);
    wnd.Dispatch(kNested, 1, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"base-only", "default 2 5 6", "derived-both", "default 9 8 9", "nested 1",
                                                 "nested 0", "default 3 0 0", "default 3 1 0"}));
}

TEST(FrameworkWindow, CommandRowsMatchTheCodeAndTheIdRange) {
    CMapDerived wnd;
    const struct {
        WORD code, id;
        const char* call;
    } rows[] = {{BN_CLICKED, 100, "command 100"}, {BN_CLICKED, 105, "command 105"}, {BN_CLICKED, 99, nullptr},
                {BN_CLICKED, 106, nullptr}, {BN_DOUBLECLICKED, 102, nullptr}};
    for (const auto& row : rows) {
        g_calls.clear();
        wnd.Dispatch(WM_COMMAND, MAKEWPARAM(row.id, row.code), 0);
        ASSERT_EQ(g_calls.size(), 1u);
        EXPECT_EQ(g_calls[0] == (row.call ? row.call : ""), row.call != nullptr) << row.code << " " << row.id;
    }
}

}  // namespace
