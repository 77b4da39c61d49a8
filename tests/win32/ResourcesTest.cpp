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

// Reads a DIALOGEX template into one line for the dialog and one per control:
// "helpId style exStyle x,y,cx,cy id class text" (styles in hex, ordinals as #n).
class TemplateText {
public:
    explicit TemplateText(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {
        std::ostringstream out;
        out << std::hex << Word() << " " << Word() << " " << Dword() << " ";  // version, signature, help id
        const std::uint32_t exStyle = Dword(), style = Dword();
        const int count = Word();
        out << style << " " << exStyle << " " << Box() << " menu" << Name() << " class" << Name() << " " << Text();
        out << " font " << std::dec << Word() << " " << Word() << " " << Word() << " " << Text();  // points, weight, italic+charset
        lines.push_back(out.str());
        for (int i = 0; i < count; ++i) {
            m_pos = (m_pos + 3) & ~std::size_t(3);
            std::ostringstream control;
            control << std::hex << Dword() << " ";  // help id
            const std::uint32_t cExStyle = Dword(), cStyle = Dword();
            control << cStyle << " " << cExStyle << " " << Box();
            control << " " << std::dec << static_cast<int>(Dword()) << " " << Name() << " " << Name();
            m_pos += Word();  // creation data
            lines.push_back(control.str());
        }
        EXPECT_EQ(m_pos, m_bytes.size()) << "bytes after the last control, or the template shorter than its counts";
    }
    std::vector<std::string> lines;

private:
    template <typename T>
    T Take() {
        T value{};
        if (m_pos + sizeof value <= m_bytes.size()) std::memcpy(&value, m_bytes.data() + m_pos, sizeof value);
        m_pos += sizeof value;
        return value;
    }
    unsigned Word() { return Take<std::uint16_t>(); }
    std::uint32_t Dword() { return Take<std::uint32_t>(); }
    std::string Box() {
        std::ostringstream box;
        box << std::dec << Take<std::int16_t>() << "," << Take<std::int16_t>() << "," << Take<std::int16_t>() << "," << Take<std::int16_t>();
        return box.str();
    }
    std::string Text() {
        std::string text;
        for (unsigned c = Word(); c != 0 && m_pos <= m_bytes.size(); c = Word()) text += c < 0x80 ? char(c) : '?';
        return text;
    }
    std::string Name() {
        const unsigned first = Word();
        if (first == 0xFFFF) return "#" + std::to_string(Word());
        if (first != 0) m_pos -= 2;
        return first != 0 ? Text() : "";
    }
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

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
    EXPECT_EQ(TemplateText(Resource(RT_DIALOG, 2003)).lines, expected);
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
