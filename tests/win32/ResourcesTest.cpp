// The resources linked into the program, read back as the system reads them:
// the hand-written dialog template 2003 control by control, string 1 and the
// version block; and the application manifest of the built zorv.scr, taken by the
// activation-context calls the system's loader uses, which read DPI awareness
// in both forms and no execution level (which would end file virtualization).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

// A DIALOGEX template as one line for the dialog and one per control, its fields in
// template order: w a word, x a double word in hex, i a signed double word, n a name
// (text, "" or #ordinal).
std::vector<std::string> TemplateLines(const std::vector<std::uint8_t>& t) {
    std::size_t at = 0;
    const auto word = [&]() -> unsigned {
        const unsigned value = at + 2 <= t.size() ? t[at] | t[at + 1] << 8 : 0;
        at += 2;
        return value;
    };
    const auto fields = [&](const char* kinds) {
        std::ostringstream out;
        for (const char* kind = kinds; *kind != '\0'; ++kind) {
            unsigned value = word();
            if (*kind == 'x' || *kind == 'i') value |= word() << 16;
            out << (kind == kinds ? "" : " ");
            if (*kind == 'x') out << std::hex << value << std::dec;
            if (*kind == 'w' || *kind == 'i') out << static_cast<int>(value);
            if (*kind == 'n' && value == 0xFFFF) out << '#' << word();
            for (; *kind == 'n' && value != 0 && value != 0xFFFF; value = word()) out << static_cast<char>(value);
        }
        return out.str();
    };
    // Version, signature, help, styles, count, box, menu, class, title, font size, weight, italic and charset, face.
    std::vector<std::string> lines{fields("wwxxxwwwwwnnnwwwn")};
    while (at < t.size()) {  // the controls, as many as there are bytes for: the count above must agree
        at = (at + 3) & ~std::size_t(3);
        lines.push_back(fields("xxxwwwwinnw"));  // help, styles, box, id, class, title, creation bytes
    }
    return lines;
}

TEST(Resources, DialogTemplate2003DescriptionStringAndVersion) {
    const std::vector<std::string> expected = {
        "1 65535 0 40080 90ca00c0 22 0 0 292 257   ZorvSaver 8 0 256 MS Sans Serif",
        "0 0 50000003 235 16 20 20 -1 #130 #100 0",
        "0 0 50000007 12 7 198 203 -1 #128 Fractal Controls 0",
        "0 0 50020000 39 24 40 8 -1 #130 Colors 0",
        "0 0 50010004 78 16 118 20 1002 msctls_trackbar32 Slider1 0",
        "0 0 50020000 33 51 31 8 -1 #130 Iterations 0",
        "0 0 50010004 78 43 118 20 1003 msctls_trackbar32 Slider1 0",
        "0 0 50010001 224 52 50 14 1 #128 OK 0",
        "0 0 50010001 224 73 50 14 2 #128 Cancel 0",
        "0 0 50020000 37 105 46 11 -1 #130 Scale 0",
        "0 0 50020000 33 79 38 11 -1 #130 Constant 0",
        "0 0 50020000 38 132 25 13 -1 #130 View 0",
        "0 0 50010004 78 70 118 20 1004 msctls_trackbar32 Slider3 0",
        "0 0 50010004 78 97 118 20 1005 msctls_trackbar32 Slider4 0",
        "0 0 50010004 78 125 118 20 1006 msctls_trackbar32 Slider5 0",
        "0 0 50010001 224 97 50 14 1001 #128 Set Defaults 0",
        "0 0 50020000 48 213 145 13 -1 #130 Zorv fractal screen saver 0",
        "0 0 50020000 54 226 120 11 -1 #130 Julia and Mandelbrot sets 0",
        "0 0 50020000 21 158 58 8 -1 #130 Random Spread 0",
        "0 0 50010004 78 151 118 20 1007 msctls_trackbar32 Slider6 0",
        "0 1 50003004 224 121 50 55 1008 #128 Use Random Settings 0",
        "0 0 50000004 27 185 174 10 1010 #128 Save Last Image to   C:\\Windows\\ZORV.BMP  0",
        "0 0 50010002 27 197 174 10 1011 #128 Fractals on every monitor 0",
    };
    HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(2003), RT_DIALOG);
    ASSERT_NE(info, nullptr);
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, info)));
    EXPECT_EQ(TemplateLines({data, data + SizeofResource(nullptr, info)}), expected);

    char text[64] = {};
    LoadStringA(GetModuleHandleA(nullptr), 1, text, sizeof text);
    EXPECT_STREQ(text, "Zorv Screen Saver");

    // The version block says: a program, not a library, for 32-bit Windows, a
    // release (no debug flag), the same file and product version.
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::vector<char> version(GetFileVersionInfoSizeA(path, nullptr));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(version.size()), version.data()) &&
                VerQueryValueA(version.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(std::make_tuple(fixed->dwFileType, fixed->dwFileOS, fixed->dwFileFlags, fixed->dwFileVersionMS,
                              fixed->dwFileVersionLS),
              std::make_tuple(DWORD{VFT_APP}, DWORD{VOS__WINDOWS32}, DWORD{0}, fixed->dwProductVersionMS,
                              fixed->dwProductVersionLS));
    // Explorer finds the strings through the translation: US English, Western code page.
    WORD* translation = nullptr;
    char* description = nullptr;
    ASSERT_TRUE(VerQueryValueA(version.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\FileDescription", translation[0], translation[1]);
    ASSERT_TRUE(VerQueryValueA(version.data(), query, reinterpret_cast<void**>(&description), &length));
    EXPECT_STREQ(description, "Zorv Screen Saver");
}

TEST(Manifest, DpiAwarenessAndNoExecutionLevel) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string scr = (std::filesystem::path(path).parent_path() / "zorv.scr").string();  // built beside the tests
    // Resource type 24 (manifest), id 1.
    ACTCTXA ctx{sizeof ctx, ACTCTX_FLAG_RESOURCE_NAME_VALID, scr.c_str(), 0, 0, nullptr, MAKEINTRESOURCEA(1), nullptr, nullptr};
    HANDLE hCtx = CreateActCtxA(&ctx);
    ASSERT_NE(hCtx, INVALID_HANDLE_VALUE) << "no usable manifest 24/1 in " << scr;

    const struct { const wchar_t *ns, *name; std::wstring value; } settings[] = {
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

    ReleaseActCtx(hCtx);
}

}  // namespace
