// The resources linked into the program, read back the way the system reads
// them: dialog template 2003 control by control, string 1, icon 100 with its
// two images, and the version information.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A reader over one DIALOGEX template.
class TemplateReader {
public:
    TemplateReader(const void* data, std::size_t size) : m_p(static_cast<const std::uint8_t*>(data)), m_size(size) {}

    std::uint16_t Word() { return Take<std::uint16_t>(); }
    std::uint32_t Dword() { return Take<std::uint32_t>(); }
    std::int16_t Short() { return Take<std::int16_t>(); }
    std::uint8_t Byte() { return Take<std::uint8_t>(); }
    void AlignDword() { m_pos = (m_pos + 3) & ~std::size_t(3); }

    // A name-or-ordinal field: "#n" for an ordinal, "" when absent.
    std::string NameOrOrdinal() {
        const std::uint16_t first = Word();
        if (first == 0) return "";
        if (first == 0xFFFF) return "#" + std::to_string(Word());
        m_pos -= 2;
        return String();
    }
    std::string String() {
        std::string text;
        for (std::uint16_t c = Word(); c != 0; c = Word()) text += c < 0x80 ? char(c) : '?';
        return text;
    }
    void Skip(std::size_t n) { m_pos += n; }
    bool Overran() const { return m_overran; }
    std::size_t Position() const { return m_pos; }

private:
    template <typename T>
    T Take() {
        T value{};
        if (m_pos + sizeof(T) > m_size) {
            m_overran = true;
            return value;
        }
        std::memcpy(&value, m_p + m_pos, sizeof(T));
        m_pos += sizeof(T);
        return value;
    }
    const std::uint8_t* m_p;
    std::size_t m_size;
    std::size_t m_pos = 0;
    bool m_overran = false;
};

struct Control {
    std::uint32_t helpId, exStyle, style;
    int x, y, cx, cy;
    std::uint32_t id;
    std::string cls, text;
    std::uint16_t extra;
};

struct Dialog {
    std::uint16_t version, signature;
    std::uint32_t helpId, exStyle, style;
    int x, y, cx, cy;
    std::string menu, cls, caption;
    std::uint16_t points, weight;
    std::uint8_t italic, charset;
    std::string face;
    std::vector<Control> controls;
};

const std::vector<std::uint8_t> Resource(LPCSTR type, int id) {
    HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    if (info == nullptr) return {};
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, info)));
    return std::vector<std::uint8_t>(data, data + SizeofResource(nullptr, info));
}

Dialog ReadTemplate(const std::vector<std::uint8_t>& bytes) {
    TemplateReader r(bytes.data(), bytes.size());
    Dialog d{};
    d.version = r.Word();
    d.signature = r.Word();
    d.helpId = r.Dword();
    d.exStyle = r.Dword();
    d.style = r.Dword();
    const std::uint16_t count = r.Word();
    d.x = r.Short();
    d.y = r.Short();
    d.cx = r.Short();
    d.cy = r.Short();
    d.menu = r.NameOrOrdinal();
    d.cls = r.NameOrOrdinal();
    d.caption = r.String();
    if (d.style & DS_SETFONT) {
        d.points = r.Word();
        d.weight = r.Word();
        d.italic = r.Byte();
        d.charset = r.Byte();
        d.face = r.String();
    }
    for (int i = 0; i < count && !r.Overran(); ++i) {
        r.AlignDword();
        Control c{};
        c.helpId = r.Dword();
        c.exStyle = r.Dword();
        c.style = r.Dword();
        c.x = r.Short();
        c.y = r.Short();
        c.cx = r.Short();
        c.cy = r.Short();
        c.id = r.Dword();
        c.cls = r.NameOrOrdinal();
        c.text = r.NameOrOrdinal();
        c.extra = r.Word();
        r.Skip(c.extra);
        d.controls.push_back(c);
    }
    EXPECT_FALSE(r.Overran()) << "the template is shorter than its own counts say";
    EXPECT_EQ(r.Position(), bytes.size()) << "bytes after the last control";
    return d;
}

constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;
constexpr std::uint32_t kNoId = 0xFFFFFFFF;
constexpr std::uint32_t kTrackBar = kChild | TBS_HORZ | TBS_TOP | WS_TABSTOP;
constexpr std::uint32_t kLabel = kChild | SS_LEFT | WS_GROUP;
constexpr std::uint32_t kDefButton = kChild | BS_DEFPUSHBUTTON | WS_TABSTOP;

struct Row {
    std::uint32_t id;
    const char* cls;  // "#128" BUTTON, "#130" STATIC
    const char* text;
    int x, y, cx, cy;
    std::uint32_t style, exStyle;
};

// The template, control by control, in tab order.
const Row kRows[] = {
    {kNoId, "#130", "#100", 235, 16, 20, 20, kChild | SS_ICON, 0},
    {kNoId, "#128", "Fractal Controls", 12, 7, 198, 203, kChild | BS_GROUPBOX, 0},
    {kNoId, "#130", "Colors", 39, 24, 40, 8, kLabel, 0},
    {1002, "msctls_trackbar32", "Slider1", 78, 16, 118, 20, kTrackBar, 0},
    {kNoId, "#130", "Iterations", 33, 51, 31, 8, kLabel, 0},
    {1003, "msctls_trackbar32", "Slider1", 78, 43, 118, 20, kTrackBar, 0},
    {IDOK, "#128", "OK", 224, 52, 50, 14, kDefButton, 0},
    {IDCANCEL, "#128", "Cancel", 224, 73, 50, 14, kDefButton, 0},
    {kNoId, "#130", "Scale", 37, 105, 46, 11, kLabel, 0},
    {kNoId, "#130", "Constant", 33, 79, 38, 11, kLabel, 0},
    {kNoId, "#130", "View", 38, 132, 25, 13, kLabel, 0},
    {1004, "msctls_trackbar32", "Slider3", 78, 70, 118, 20, kTrackBar, 0},
    {1005, "msctls_trackbar32", "Slider4", 78, 97, 118, 20, kTrackBar, 0},
    {1006, "msctls_trackbar32", "Slider5", 78, 125, 118, 20, kTrackBar, 0},
    {1001, "#128", "Set Defaults", 224, 97, 50, 14, kDefButton, 0},
    {kNoId, "#130", "Zorv fractal screen saver", 48, 213, 145, 13, kLabel, 0},
    {kNoId, "#130", "Julia and Mandelbrot sets", 54, 226, 120, 11, kLabel, 0},
    {kNoId, "#130", "Random Spread", 21, 158, 58, 8, kLabel, 0},
    {1007, "msctls_trackbar32", "Slider6", 78, 151, 118, 20, kTrackBar, 0},
    {1008, "#128", "Use Random Settings", 224, 121, 50, 55, kChild | BS_RADIOBUTTON | BS_PUSHLIKE | BS_MULTILINE,
     WS_EX_DLGMODALFRAME},
    {1010, "#128", "Save Last Image to   C:\\Windows\\ZORV.BMP ", 27, 185, 174, 10, kChild | BS_RADIOBUTTON, 0},
};

TEST(Resources, DialogTemplateHeaderCaptionAndFont) {
    const Dialog d = ReadTemplate(Resource(RT_DIALOG, 2003));
    EXPECT_EQ(d.version, 1);
    EXPECT_EQ(d.signature, 0xFFFF);  // extended template
    EXPECT_EQ(d.helpId, 0u);
    EXPECT_EQ(d.style, static_cast<std::uint32_t>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                                  DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(d.exStyle, static_cast<std::uint32_t>(WS_EX_APPWINDOW | WS_EX_TOOLWINDOW));
    EXPECT_EQ((std::vector<int>{d.x, d.y, d.cx, d.cy}), (std::vector<int>{0, 0, 292, 257}));
    EXPECT_EQ(d.menu, "");
    EXPECT_EQ(d.cls, "");
    EXPECT_EQ(d.caption, "ZorvSaver");
    EXPECT_EQ(d.points, 8);
    EXPECT_EQ(d.weight, 0);
    EXPECT_EQ(d.italic, 0);
    EXPECT_EQ(d.charset, 1);
    EXPECT_EQ(d.face, "MS Sans Serif");
}

TEST(Resources, DialogTemplateHoldsTheTwentyOneControlsExactly) {
    const Dialog d = ReadTemplate(Resource(RT_DIALOG, 2003));
    ASSERT_EQ(d.controls.size(), std::size(kRows));
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const Row& want = kRows[i];
        const Control& got = d.controls[i];
        SCOPED_TRACE(testing::Message() << "control " << i + 1 << " \"" << want.text << "\"");
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.cls, want.cls);
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ((std::vector<int>{got.x, got.y, got.cx, got.cy}), (std::vector<int>{want.x, want.y, want.cx, want.cy}));
        EXPECT_EQ(got.style, want.style) << std::hex << (got.style ^ want.style);
        EXPECT_EQ(got.exStyle, want.exStyle);
        EXPECT_EQ(got.helpId, 0u);
        EXPECT_EQ(got.extra, 0);
    }
}

TEST(Resources, DescriptionStringIsStringOne) {
    char text[64] = {};
    EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), 1, text, sizeof text), 17);
    EXPECT_STREQ(text, "Zorv Screen Saver");
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

TEST(Resources, IconHundredHasA32And16PixelImageInSixteenColours) {
    const std::vector<std::uint8_t> group = Resource(RT_GROUP_ICON, 100);
    ASSERT_GE(group.size(), 6u);
    std::uint16_t header[3];
    std::memcpy(header, group.data(), sizeof header);
    EXPECT_EQ(header[1], 1);  // icons, not cursors
    ASSERT_EQ(header[2], 2);
    ASSERT_EQ(group.size(), 6 + 2 * sizeof(GroupIconEntry));
    std::vector<int> sizes;
    for (int i = 0; i < 2; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
        sizes.push_back(entry.width);
        EXPECT_EQ(entry.height, entry.width);
        EXPECT_EQ(entry.colorCount, 16);
        EXPECT_EQ(entry.bitCount, 4);
        // The image itself: a 4-bit bitmap header of the stated size.
        const std::vector<std::uint8_t> image = Resource(RT_ICON, entry.id);
        ASSERT_EQ(image.size(), entry.bytesInRes);
        BITMAPINFOHEADER bih;
        ASSERT_GE(image.size(), sizeof bih);
        std::memcpy(&bih, image.data(), sizeof bih);
        EXPECT_EQ(bih.biWidth, entry.width);
        EXPECT_EQ(bih.biHeight, 2 * entry.width);
        EXPECT_EQ(bih.biBitCount, 4);
    }
    EXPECT_EQ(sizes, (std::vector<int>{32, 16}));
}

TEST(Resources, VersionInformationDescribesTheSaver) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 1);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    char* text = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904e4\\FileDescription", reinterpret_cast<void**>(&text),
                               &length));
    EXPECT_STREQ(text, "Zorv Screen Saver");
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904e4\\OriginalFilename",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, "zorv.scr");
}

}  // namespace
