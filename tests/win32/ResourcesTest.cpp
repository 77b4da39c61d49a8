// The resources linked into the program, read back as the system reads them:
// the hand-written dialog template 2003 control by control, string 1, icon 100
// and the version information.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Resource(LPCSTR type, int id) {
    HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    if (info == nullptr) return {};
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, info)));
    return {data, data + SizeofResource(nullptr, info)};
}

// A DIALOGEX template as one line for the dialog and one per control:
// "[version signature] helpId style exStyle x,y,cx,cy ..." (styles in hex, ordinals as #n).
std::vector<std::string> TemplateLines(const std::vector<std::uint8_t>& t) {
    std::size_t at = 0;
    const auto word = [&]() -> unsigned {
        const unsigned value = at + 2 <= t.size() ? t[at] | t[at + 1] << 8 : 0;
        at += 2;
        return value;
    };
    const auto dword = [&] { const unsigned low = word(); return low | word() << 16; };
    const auto text = [&] {
        std::string out;
        for (unsigned c = word(); c != 0; c = word()) out += c < 0x80 ? char(c) : '?';
        return out;
    };
    const auto name = [&] {
        const unsigned first = word();
        if (first == 0xFFFF) return "#" + std::to_string(word());
        at -= first != 0 ? 2 : 0;
        return first != 0 ? text() : std::string();
    };
    const auto styles = [&](std::ostringstream& out) {
        const unsigned help = dword(), exStyle = dword(), style = dword();
        out << std::hex << help << " " << style << " " << exStyle << std::dec;
    };
    const auto box = [&](std::ostringstream& out) {
        for (int i = 0; i < 4; ++i) out << (i ? "," : " ") << static_cast<std::int16_t>(word());
    };
    std::ostringstream dialog;
    dialog << std::hex << word() << " " << word() << " ";
    styles(dialog);
    const unsigned count = word();
    box(dialog);
    dialog << " menu" << name() << " class" << name() << " " << text() << " font " << word() << " " << word() << " " << word() << " " << text();
    std::vector<std::string> lines{dialog.str()};
    for (unsigned i = 0; i < count && at < t.size(); ++i) {
        at = (at + 3) & ~std::size_t(3);
        std::ostringstream control;
        styles(control);
        box(control);
        control << " " << static_cast<int>(dword()) << " " << name();
        control << " " << name();
        at += word();  // creation data
        lines.push_back(control.str());
    }
    EXPECT_EQ(at, t.size()) << "bytes after the last control, or fewer than its counts say";
    return lines;
}

TEST(Resources, DialogTemplate2003) {
    const std::vector<std::string> expected = {
        "1 ffff 0 90ca00c0 40080 0,0,292,257 menu class ZorvSaver font 8 0 256 MS Sans Serif",
        "0 50000003 0 235,16,20,20 -1 #130 #100",
        "0 50000007 0 12,7,198,203 -1 #128 Fractal Controls",
        "0 50020000 0 39,24,40,8 -1 #130 Colors",
        "0 50010004 0 78,16,118,20 1002 msctls_trackbar32 Slider1",
        "0 50020000 0 33,51,31,8 -1 #130 Iterations",
        "0 50010004 0 78,43,118,20 1003 msctls_trackbar32 Slider1",
        "0 50010001 0 224,52,50,14 1 #128 OK",
        "0 50010001 0 224,73,50,14 2 #128 Cancel",
        "0 50020000 0 37,105,46,11 -1 #130 Scale",
        "0 50020000 0 33,79,38,11 -1 #130 Constant",
        "0 50020000 0 38,132,25,13 -1 #130 View",
        "0 50010004 0 78,70,118,20 1004 msctls_trackbar32 Slider3",
        "0 50010004 0 78,97,118,20 1005 msctls_trackbar32 Slider4",
        "0 50010004 0 78,125,118,20 1006 msctls_trackbar32 Slider5",
        "0 50010001 0 224,97,50,14 1001 #128 Set Defaults",
        "0 50020000 0 48,213,145,13 -1 #130 Zorv fractal screen saver",
        "0 50020000 0 54,226,120,11 -1 #130 Julia and Mandelbrot sets",
        "0 50020000 0 21,158,58,8 -1 #130 Random Spread",
        "0 50010004 0 78,151,118,20 1007 msctls_trackbar32 Slider6",
        "0 50003004 1 224,121,50,55 1008 #128 Use Random Settings",
        "0 50000004 0 27,185,174,10 1010 #128 Save Last Image to   C:\\Windows\\ZORV.BMP ",
    };
    EXPECT_EQ(TemplateLines(Resource(RT_DIALOG, 2003)), expected);
}

TEST(Resources, DescriptionStringIconAndVersion) {
    char text[64] = {};
    EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), 1, text, sizeof text), 17);
    EXPECT_STREQ(text, "Zorv Screen Saver");

    // Icon 100: a 32- and a 16-pixel image, each 16 colours in 4 bits.
    const auto group = Resource(RT_GROUP_ICON, 100);
    ASSERT_EQ(group.size(), 6u + 2 * 14);
    EXPECT_EQ(group[2] + group[4] * 256, 1 + 2 * 256);  // icons, two of them
    for (int i = 0; i < 2; ++i) {
        const std::uint8_t* entry = group.data() + 6 + 14 * i;
        EXPECT_EQ(std::vector<int>(entry, entry + 3), (std::vector<int>{32 >> i, 32 >> i, 16})) << i;
        BITMAPINFOHEADER image{};
        const auto bytes = Resource(RT_ICON, entry[12] | entry[13] << 8);
        ASSERT_GE(bytes.size(), sizeof image);
        std::memcpy(&image, bytes.data(), sizeof image);
        EXPECT_EQ(image.biBitCount, 4) << i;
        EXPECT_EQ(image.biHeight, 2 * entry[0]) << i;  // colour and mask rows
    }

    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path, &ignored));
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 1);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    for (const auto& [name, value] : {std::pair{"FileDescription", "Zorv Screen Saver"}, std::pair{"OriginalFilename", "zorv.scr"}}) {
        char* found = nullptr;
        ASSERT_TRUE(VerQueryValueA(block.data(), (std::string("\\StringFileInfo\\040904e4\\") + name).c_str(),
                                   reinterpret_cast<void**>(&found), &length)) << name;
        EXPECT_STREQ(found, value);
    }
}

}  // namespace
