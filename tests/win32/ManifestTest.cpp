// The application manifest of the built zorv.scr, read back through the
// activation-context calls the system's loader uses: DPI awareness in both
// forms, the supported systems, no execution level (which would end file
// virtualization), and the version 6 common controls.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace {

// One of the context's information records; the strings it points to live in the same block.
template <typename T>
struct Info {
    std::vector<BYTE> block = std::vector<BYTE>(4096);
    const T* operator->() const { return reinterpret_cast<const T*>(block.data()); }
};

template <typename T>
Info<T> Query(HANDLE hCtx, ULONG infoClass, DWORD index = 0) {
    Info<T> info;
    SIZE_T written = 0;
    EXPECT_TRUE(::QueryActCtxW(0, hCtx, index ? &index : nullptr, infoClass, info.block.data(), info.block.size(),
                               &written));
    return info;
}

TEST(Manifest, DpiAwarenessSupportedSystemsNoExecutionLevelCommonControlsSix) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string scr = path;
    scr = scr.substr(0, scr.find_last_of('\\') + 1) + "zorv.scr";  // built beside the tests
    ACTCTXA ctx{};
    ctx.cbSize = sizeof ctx;
    ctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;  // type 24 (manifest), id 1
    ctx.lpSource = scr.c_str();
    ctx.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE hCtx = ::CreateActCtxA(&ctx);
    ASSERT_NE(hCtx, INVALID_HANDLE_VALUE) << "no usable manifest 24/1 in " << scr;

    const struct {
        const wchar_t* ns;
        const wchar_t* name;
        std::wstring value;
    } settings[] = {
        {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", L"PerMonitorV2, PerMonitor"},
        {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"},
    };
    for (const auto& row : settings) {
        wchar_t value[64] = {};
        SIZE_T written = 0;
        EXPECT_TRUE(::QueryActCtxSettingsW(0, hCtx, row.ns, row.name, value, 64, &written));
        EXPECT_EQ(std::wstring(value), row.value);
    }

    // The current layout (Windows 10 on, and Wine): every element also carries MaxVersionTested.
    struct Compatibility {
        DWORD count;
        struct {
            GUID id;
            DWORD type;
            ULONGLONG maxVersionTested;
        } elements[8];
    };
    const auto compat = Query<Compatibility>(hCtx, CompatibilityInformationInActivationContext);
    std::set<unsigned long> systems;  // by the first part of the identifier
    for (DWORD i = 0; i < compat->count && i < 8; ++i) {
        if (compat->elements[i].type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS) systems.insert(compat->elements[i].id.Data1);
    }
    // Windows 7, 8, 8.1, and 10 (which 11 shares).
    EXPECT_EQ(systems, (std::set<unsigned long>{0x35138b9a, 0x4a2f28e3, 0x1f676c76, 0x8e0f7a12}));

    const auto level = Query<ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION>(hCtx, RunlevelInformationInActivationContext);
    EXPECT_EQ(level->RunLevel, ACTCTX_RUN_LEVEL_UNSPECIFIED) << "a requested execution level turns virtualization off";

    const auto detail = Query<ACTIVATION_CONTEXT_DETAILED_INFORMATION>(hCtx, ActivationContextDetailedInformation);
    ASSERT_EQ(detail->ulAssemblyCount, 2u) << "the saver and one dependency";
    const auto assembly =
        Query<ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION>(hCtx, AssemblyDetailedInformationInActivationContext, 2);
    const std::wstring dependency = assembly->lpAssemblyEncodedAssemblyIdentity;
    EXPECT_NE(dependency.find(L"Microsoft.Windows.Common-Controls"), std::wstring::npos);
    EXPECT_NE(dependency.find(L"version=\"6."), std::wstring::npos) << std::string(dependency.begin(), dependency.end());
    ::ReleaseActCtx(hCtx);
}

}  // namespace
