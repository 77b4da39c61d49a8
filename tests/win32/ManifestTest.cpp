// The application manifest of the built zorv.scr: taken by the activation-context
// calls the system's loader uses, which read DPI awareness in both forms and no
// execution level (which would end file virtualization); the supported systems
// and the version 6 common controls as written.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

TEST(Manifest, DpiAwarenessSupportedSystemsNoExecutionLevelCommonControlsSix) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string scr = path;
    scr = scr.substr(0, scr.find_last_of('\\') + 1) + "zorv.scr";  // built beside the tests
    // Resource type 24 (manifest), id 1.
    ACTCTXA ctx{sizeof ctx, ACTCTX_FLAG_RESOURCE_NAME_VALID, scr.c_str(), 0, 0, nullptr, MAKEINTRESOURCEA(1), nullptr, nullptr};
    HANDLE hCtx = CreateActCtxA(&ctx);
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
        EXPECT_TRUE(QueryActCtxSettingsW(0, hCtx, row.ns, row.name, value, 64, nullptr));
        EXPECT_EQ(std::wstring(value), row.value);
    }

    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
    EXPECT_TRUE(QueryActCtxW(0, hCtx, nullptr, RunlevelInformationInActivationContext, &level, sizeof level, nullptr));
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_UNSPECIFIED) << "a requested execution level turns virtualization off";

    // The rest as written, the context having taken it: Windows 7, 8, 8.1 and 10
    // (which 11 shares) and no other, and the version 6 common controls.
    HMODULE module = LoadLibraryExA(scr.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module, info))), SizeofResource(module, info));
    for (const char* part : {"<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">",
                             "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",
                             "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>",
                             "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>",
                             "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",
                             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""}) {
        EXPECT_NE(text.find(part), std::string::npos) << part;
    }
    int systems = 0;
    for (auto at = text.find("<supportedOS"); at != std::string::npos; at = text.find("<supportedOS", at + 1)) ++systems;
    EXPECT_EQ(systems, 4);
    FreeLibrary(module);
    ReleaseActCtx(hCtx);
}

}  // namespace
