// CDib under Wine: BMP files of every depth in both header layouts loaded and
// painted through GDI, failure messages and their order, what a failure keeps,
// the atomic save, a capture from a 256-colour device, and the off-screen
// canvas. (The close test in the desktop tests reads a capture of the screen back.)
#include <gtest/gtest.h>

#include "framework/AppMessageBox.h"
#include "image/Dib.h"
#include "image/OffscreenCanvas.h"
#include "tests/win32/WinTestSupport.h"

namespace {

using namespace wintest;
using Size = std::pair<long, long>;
using Texts = std::vector<std::string>;

Texts g_messages;

// Message boxes are recorded instead of shown. The image store's boxes are plain
// OK boxes without help: any other style or help is marked as a fault.
class ImageStore : public ::testing::Test {
protected:
    ImageStore() : m_previous(SetAppMessageBoxHook(&Record)) { g_messages.clear(); }
    ~ImageStore() override { SetAppMessageBoxHook(m_previous); }
    static int Record(const char* text, UINT type, UINT help) {
        g_messages.push_back(std::string(text) + (type != 0 || help != 0 ? " (style or help set)" : ""));
        return IDOK;
    }
    std::string Put(const Bytes& bytes, const char* name = "picture.bmp") {
        zorv::WriteFileText(m_dir / name, bytes);
        return (m_dir / name).string();
    }
    zorv::TempDir m_dir;
    AppMessageBoxHook m_previous;
};

TEST_F(ImageStore, EveryDepthInBothLayoutsLoadsAndPaintsAtNaturalSizeOrReportsWhatGdiRefuses) {
    for (bool core : {false, true}) {
        for (int bits : {1, 4, 8, 24, 32, 33}) {  // 33: loaded, but GDI draws nothing of it
            SCOPED_TRACE(std::string(core ? "core " : "info ") + std::to_string(bits));
            const Bytes picture = Dib({bits, 7, 3, core});
            CDib dib;
            // The offset field points nowhere: the rows are read right behind the table.
            ASSERT_TRUE(dib.Load(Put(File(picture, 0x7FFF)).c_str()));
            Surface target(8, 4);
            dib.DrawFitted(&target.dc);
            PALETTEENTRY first{};  // the palette of a table starts with its first colour
            if (dib.m_pImagePalette) GetPaletteEntries(dib.m_pImagePalette->GetSafeHandle(), 0, 1, &first);
            EXPECT_TRUE(GetCurrentObject(target.dc, OBJ_PAL) == GetStockObject(DEFAULT_PALETTE) &&
                        (bits > 8 ? !dib.m_pImagePalette : RGB(first.peRed, first.peGreen, first.peBlue) == TableColor(0)))
                << "the picture's palette stayed, or is not the table's";
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 8; ++x)
                    EXPECT_EQ(target.At(x, y), x < 7 && y < 3 && bits < 33 ? ShownColor(bits, x, y) : Surface::kSentinel)
                        << x << "," << y;
        }
    }
    // A block too short for the rows its header claims never reaches GDI.
    CDib cut;
    cut.m_hImage = Block(Dib({24, 7, 3}).substr(0, 60));
    Surface target(8, 4);
    cut.DrawFitted(&target.dc);
    EXPECT_EQ(g_messages, Texts(3, kMsgSetDIBitsFailed));
}

decltype(&GetDIBits) g_getDIBits;  // the system's, kept by the routes
decltype(&CreateCompatibleDC) g_createCompatibleDC;
bool g_rows = false;  // whether the routed GetDIBits hands the rows over
int WINAPI NoSize(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT use) {
    const int result = bits == nullptr || g_rows ? g_getDIBits(dc, bitmap, start, lines, bits, info, use) : 0;
    if (bits == nullptr) info->bmiHeader.biSizeImage = 0;  // a driver may leave it so for BI_RGB
    return result;
}
HDC WINAPI NoMemoryDC(HDC) { return nullptr; }
decltype(&SelectObject) g_selectObject;
HGDIOBJ WINAPI NoSelection(HDC, HGDIOBJ) { return nullptr; }

// The saver captures its window at the display's depth: at 256 colours the
// picture carries the device's table, and its rows follow that table, also when
// the system leaves the image size to be worked out. Rows the system does not
// hand over, or a bitmap or memory DC it cannot make or join, make no picture.
TEST_F(ImageStore, ACaptureAt256ColoursKeepsEveryColour) {
    Surface device(Picture{8, 7, 3});
    CDib dib;
    EXPECT_FALSE(dib.Capture(&device.dc, 0, 0, 1 << 30, 1 << 30)) << "a bitmap larger than memory";
    g_getDIBits = Route(&GetDIBits, NoSize);
    EXPECT_FALSE(dib.Capture(&device.dc, 0, 0, 7, 3));
    g_createCompatibleDC = Route(&CreateCompatibleDC, NoMemoryDC);
    EXPECT_FALSE(dib.Capture(&device.dc, 0, 0, 7, 3));
    Route(NoMemoryDC, g_createCompatibleDC);
    g_selectObject = Route(&SelectObject, NoSelection);
    EXPECT_FALSE(dib.Capture(&device.dc, 0, 0, 7, 3));
    Route(NoSelection, g_selectObject);
    g_rows = true;
    ASSERT_TRUE(dib.Capture(&device.dc, 0, 0, 7, 3));
    Route(NoSize, g_getDIBits);
    Surface target(7, 3);
    dib.DrawFitted(&target.dc);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(target.At(x, y), ShownColor(8, x, y)) << x << "," << y;
}

decltype(&ReadFile) g_readFile;
BOOL WINAPI FailedRead(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED) { return FALSE; }

TEST_F(ImageStore, BadFilesAreRefusedWithTheirMessagesInOrderAndKeepOnlyTheSize) {
    const Bytes good = File(Dib({24, 2, 2}));
    const struct {
        const char* name;
        Bytes bytes;  // empty: no such file
        Texts messages;
        bool readFails = false;
    } rows[] = {
        {"no such file", {}, {kMsgOpenFile}},
        {"a read that fails", good, {kMsgReadFile}, true},
        {"a file header alone", good.substr(0, 14), {kMsgNotDib}},
        {"wrong magic", "M" + good.substr(1), {kMsgNotDib}},
        {"negative height", File(Dib({24, 2, -2})), {kMsgTooBig, kMsgNotDib}},
        {"last row byte missing", good.substr(0, good.size() - 1), {kMsgNotDib}},
    };
    const std::string indexed = Put(File(Dib({8, 5, 4})), "indexed.bmp");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CDib dib;
        ASSERT_TRUE(dib.Load(indexed.c_str()));
        HGLOBAL picture = dib.m_hImage;
        g_messages.clear();
        if (row.readFails) g_readFile = Route(&ReadFile, FailedRead);
        EXPECT_FALSE(dib.Load(row.bytes.empty() ? (m_dir / "missing.bmp").string().c_str() : Put(row.bytes).c_str()));
        if (row.readFails) Route(FailedRead, g_readFile);
        EXPECT_EQ(g_messages, row.messages);
        // A file that does not open leaves everything; a bad one keeps the size recorded last.
        EXPECT_EQ(dib.m_hImage, row.bytes.empty() ? picture : nullptr);
        EXPECT_TRUE(row.bytes.empty() || GlobalSize(picture) == 0) << "the last picture's memory is kept";
        EXPECT_TRUE(row.readFails || (dib.m_pImagePalette != nullptr) == row.bytes.empty());
        EXPECT_EQ(Size(dib.m_nWidth, dib.m_nHeight), Size(5, 4));
    }
}

// The 95/98 family's MoveFileExA only fails: the save renames instead.
BOOL WINAPI MoveFileExStub(LPCSTR, LPCSTR, DWORD) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}
int g_renames = 0, g_failingRename = 0;
BOOL WINAPI MoveFileCounting(LPCSTR from, LPCSTR to) { return ++g_renames != g_failingRename && MoveFileA(from, to); }

TEST_F(ImageStore, SaveWritesHeaderAndDibAndReplacesTheFileOnlyWhenComplete) {
    const Bytes picture = Dib({8, 5, 3}), old = File(Dib({24, 9, 9}));
    Bytes expected = picture;
    expected[20] = 8 * 3;  // the image size, filled in in the picture too
    CDib dib;
    dib.m_hImage = Block(picture);
    const std::string saved = Put(old, "saved.bmp");
    Put("not ours", "zro1.tmp");  // the 9x rename's name must be one of its own: this file stays
    for (bool renaming : {false, true}) {
        Put(old, "saved.bmp");
        SetFileMoves(renaming ? MoveFileExStub : nullptr, renaming ? MoveFileCounting : nullptr);
        EXPECT_TRUE(dib.Save(saved.c_str()));
        SetFileMoves(nullptr, nullptr);
        EXPECT_EQ(zorv::ReadFileText(saved), File(expected, 14 + 40 + 1024)) << renaming;
    }
    EXPECT_EQ(g_renames, 2);
    EXPECT_TRUE(FolderOf("C:\\zorv.bmp") == "C:\\" && FolderOf("/zorv.bmp") == "/" && FolderOf("zorv.bmp") == ".");  // where the new file goes
    EXPECT_EQ(BlockBytes(dib.m_hImage), expected);
    EXPECT_TRUE(g_messages.empty());

    // A failed save keeps the old file and leaves nothing beside it: a failed rename puts the old picture back.
    const Bytes whole = Dib({24, 4, 4}), beyond = whole.substr(0, whole.size() - 1);
    const struct {
        const char* name;
        Bytes dib;
        bool held;          // by someone who does not share it
        int failingRename;  // 0: MoveFileExA works
        Texts messages;
    } rows[] = {
        {"core header", Dib({4, 3, 2, true}), false, 0, {}},
        {"rows beyond the block", beyond, false, 0, {kMsgSaveFailed}},
        {"a file held without sharing", picture, true, 0, {kMsgOpenSaveFile}},
        {"the old picture not put aside", picture, false, 1, {kMsgSaveFailed}},
        {"the new picture not put in", picture, false, 2, {kMsgSaveFailed}},
    };
    Put(old, "saved.bmp");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        g_messages.clear();
        g_renames = 0, g_failingRename = row.failingRename;
        if (row.failingRename != 0) SetFileMoves(MoveFileExStub, MoveFileCounting);
        CDib failing;
        failing.m_hImage = Block(row.dib);
        HANDLE holder = row.held ? CreateFileA(saved.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
        EXPECT_FALSE(failing.Save(saved.c_str()));
        if (holder != nullptr) CloseHandle(holder);
        SetFileMoves(nullptr, nullptr);
        EXPECT_EQ(g_messages, row.messages);
        EXPECT_EQ(zorv::ReadFileText(saved), old);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.path), {}), 2);  // with zro1.tmp
        EXPECT_EQ(GlobalFlags(failing.m_hImage) & GMEM_LOCKCOUNT, 0u);
    }
}

TEST(OffscreenCanvasTest, ScreenSizedAndBlackFromStartUp) {
    BITMAP record{};
    ASSERT_EQ(g_canvas.GetBitmap(&record), static_cast<int>(sizeof record));
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(Size(record.bmWidth, record.bmHeight), Size(w, h));
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    HGDIOBJ previous = memory.SelectObject(&g_canvas);
    for (const POINT p : {POINT{0, 0}, POINT{w / 2, h / 2}, POINT{w - 1, h - 1}}) EXPECT_EQ(memory.GetPixel(p.x, p.y), 0u);
    memory.SelectObject(previous);
}

}  // namespace
