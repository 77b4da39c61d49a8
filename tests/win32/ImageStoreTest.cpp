// CDib under Wine: BMP files of every depth in both header layouts loaded and
// painted through GDI, failure messages and their order, what a failure keeps,
// the atomic save, capture at each depth, and the off-screen canvas.
#include <gtest/gtest.h>

#include <thread>

#include "image/Dib.h"
#include "image/OffscreenCanvas.h"
#include "tests/core/TempDir.h"
#include "tests/win32/WinTestSupport.h"

namespace {

using namespace wintest;
using Size = std::pair<long, long>;

Size SizeOf(const CDib& dib) { return {dib.m_nWidth, dib.m_nHeight}; }

class ImageStore : public ::testing::Test {
protected:
    std::string Put(const Bytes& bytes, const char* name = "picture.bmp") {
        WriteBytes(m_dir / name, bytes);
        return (m_dir / name).string();
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path())) names.push_back(entry.path().filename().string());
        return names;
    }
    zorv::TempDir m_dir;
    MessageBoxRecorder m_messages;
};

TEST_F(ImageStore, EveryDepthInBothLayoutsLoadsAndPaintsAtNaturalSize) {
    for (bool core : {false, true}) {
        for (int bits : {1, 4, 8, 24, 32}) {
            SCOPED_TRACE(std::string(core ? "core " : "info ") + std::to_string(bits));
            const Picture picture{bits, 7, 3, core};
            CDib dib;
            // The offset field points nowhere: the rows are read right behind the table.
            ASSERT_TRUE(dib.Load(Put(File(Dib(picture), 0x7FFF)).c_str()));
            EXPECT_GE(GlobalSize(dib.m_hImage), Dib(picture).size() + 14);
            EXPECT_EQ(SizeOf(dib), Size(7, 3));
            ASSERT_EQ(dib.m_pImagePalette != nullptr, bits <= 8);
            if (bits <= 8) {
                const UINT count = 1u << bits;
                ASSERT_EQ(dib.m_pImagePalette->GetEntryCount(), count);
                std::vector<PALETTEENTRY> entries(count);
                dib.m_pImagePalette->GetPaletteEntries(0, count, entries.data());
                for (UINT i = 0; i < count; ++i)
                    EXPECT_EQ(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue) | entries[i].peFlags << 24, TableColor(i)) << i;
            }
            Target target(8, 4);
            CDC dc(target.Hdc());
            dib.DrawFitted(&dc);
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 8; ++x)
                    EXPECT_EQ(target.At(x, y), x < 7 && y < 3 ? ShownColor(bits, x, y) : Target::kSentinel) << x << "," << y;
            EXPECT_TRUE(m_messages.Messages().empty());
        }
    }
}

TEST_F(ImageStore, BadFilesAreRefusedWithTheirMessagesInOrder) {
    const Bytes good = File(Dib({24, 2, 2}));
    Bytes wrongMagic = good;
    wrongMagic[0] = 'M';
    const struct {
        const char* name;
        Bytes bytes;
        Texts messages;
    } rows[] = {
        {"13 bytes", Bytes(good.begin(), good.begin() + 13), {kMsgNotDib}},
        {"a file header alone", Bytes(good.begin(), good.begin() + 14), {kMsgNotDib}},
        {"wrong magic", wrongMagic, {kMsgNotDib}},
        {"negative height", File(Dib({24, 2, -2})), {kMsgTooBig, kMsgNotDib}},
        {"last row byte missing", Bytes(good.begin(), good.end() - 1), {kMsgNotDib}},
    };
    for (const auto& row : rows) {
        m_messages.Clear();
        CDib dib;
        EXPECT_FALSE(dib.Load(Put(row.bytes).c_str())) << row.name;
        EXPECT_EQ(m_messages.Messages(), row.messages) << row.name;
        EXPECT_EQ(dib.m_hImage, nullptr) << row.name;
        EXPECT_EQ(dib.m_pImagePalette, nullptr) << row.name;
    }
}

TEST_F(ImageStore, EachFailureKeepsOrDropsWhatItsCaseSays) {
    CDib dib;
    ASSERT_TRUE(dib.Load(Put(File(Dib({8, 5, 4}))).c_str()));
    HGLOBAL picture = dib.m_hImage;
    CPalette* palette = dib.m_pImagePalette.get();

    // The file does not open: everything stays.
    EXPECT_FALSE(dib.Load((m_dir / "missing.bmp").string().c_str()));
    EXPECT_EQ(dib.m_hImage, picture);

    // A read fails (a pipe whose server hangs up): the picture goes, palette and size stay.
    const std::string pipe = "\\\\.\\pipe\\zorv-read-error-" + std::to_string(GetCurrentProcessId());
    HANDLE server = CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 64, 64, 0, nullptr);
    std::thread hangUp([server] {
        ConnectNamedPipe(server, nullptr);
        Sleep(50);
        CloseHandle(server);
    });
    EXPECT_FALSE(dib.Load(pipe.c_str()));
    hangUp.join();
    EXPECT_EQ(dib.m_hImage, nullptr);
    EXPECT_EQ(dib.m_pImagePalette.get(), palette);

    // Too big: the palette goes too; the size recorded last stays.
    EXPECT_FALSE(dib.Load(Put(File(Dib({24, 3, -3}))).c_str()));
    EXPECT_EQ(dib.m_pImagePalette, nullptr);
    EXPECT_EQ(SizeOf(dib), Size(5, 4));
    EXPECT_EQ(m_messages.Messages(), (Texts{kMsgOpenFile, kMsgReadFile, kMsgTooBig, kMsgNotDib}));
}

TEST(PaintDIBTest, StretchedWithColorOnColorAndThePaletteOfTheDcRestored) {
    MessageBoxRecorder messages;
    HGLOBAL indexed = Block(Dib({8, 2, 2}));
    CPalette palette;
    ASSERT_TRUE(MakeDIBPalette(indexed, &palette));
    Target target(4, 4);
    SetStretchBltMode(target.Hdc(), HALFTONE);
    HGDIOBJ before = GetCurrentObject(target.Hdc(), OBJ_PAL);
    const RECT whole{0, 0, 4, 4}, corner{0, 0, 1, 1};
    EXPECT_NE(PaintDIB(target.Hdc(), &whole, indexed, &corner, &palette), 0);
    EXPECT_EQ(GetStretchBltMode(target.Hdc()), COLORONCOLOR);
    EXPECT_EQ(GetCurrentObject(target.Hdc(), OBJ_PAL), before);
    EXPECT_EQ(target.At(3, 3), ShownColor(8, 0, 1)) << "a stretch source counts from the bottom row";
    EXPECT_TRUE(messages.Messages().empty());
    GlobalFree(indexed);
}

TEST_F(ImageStore, APictureGdiRefusesIsLoadedButShowsThePaintMessageAndNothingElse) {
    Bytes bits33 = Dib({32, 4, 4});
    bits33[14] = 33;
    bits33.resize(40 + 4 * RowBytes(4, 33));
    CDib dib;
    ASSERT_TRUE(dib.Load(Put(File(bits33)).c_str()));
    Target target(4, 4);
    CDC dc(target.Hdc());
    dib.DrawFitted(&dc);
    EXPECT_EQ(m_messages.Messages(), Texts{kMsgSetDIBitsFailed});
    EXPECT_TRUE(target.Untouched());
}

TEST_F(ImageStore, SaveWritesHeaderAndDibAndReplacesTheFileOnlyWhenComplete) {
    const Bytes picture = Dib({8, 5, 3});
    CDib dib;
    dib.m_hImage = Block(picture);
    ASSERT_TRUE(dib.Save(Put(File(Dib({24, 9, 9})), "saved.bmp").c_str()));
    Bytes expected = picture;
    expected[20] = 8 * 3;  // the image size, filled in in the picture too
    EXPECT_EQ(ReadBytes(m_dir / "saved.bmp"), File(expected, 14 + 40 + 1024));
    EXPECT_EQ(BlockBytes(dib.m_hImage), expected);
    EXPECT_EQ(Entries(), std::vector<std::string>{"saved.bmp"});

    Bytes beyond = Dib({24, 4, 4});
    beyond.pop_back();
    const struct {
        const char* name;
        Bytes dib;  // empty: no picture
        Texts messages;
    } rows[] = {{"no picture", {}, {}}, {"core header", Dib({4, 3, 2, true}), {}}, {"rows beyond the block", beyond, {kMsgSaveFailed}}};
    for (const auto& row : rows) {
        m_messages.Clear();
        const Bytes old = ReadBytes(m_dir / "saved.bmp");
        CDib failing;
        if (!row.dib.empty()) failing.m_hImage = Block(row.dib);
        EXPECT_FALSE(failing.Save((m_dir / "saved.bmp").string().c_str())) << row.name;
        EXPECT_FALSE(failing.Save((m_dir / "new.bmp").string().c_str())) << row.name;
        EXPECT_EQ(m_messages.Messages().size(), 2 * row.messages.size()) << row.name;
        EXPECT_EQ(ReadBytes(m_dir / "saved.bmp"), old) << row.name;
        EXPECT_EQ(Entries(), std::vector<std::string>{"saved.bmp"}) << row.name;
        if (failing.m_hImage != nullptr) {
            EXPECT_EQ(GlobalFlags(failing.m_hImage) & GMEM_LOCKCOUNT, 0u) << row.name;
        }
    }
    EXPECT_EQ(m_messages.Messages(), (Texts{kMsgSaveFailed, kMsgSaveFailed}));

    // A folder that does not exist, and a file someone holds without sharing.
    m_messages.Clear();
    EXPECT_FALSE(dib.Save((m_dir / "nowhere" / "x.bmp").string().c_str()));
    const Bytes old = ReadBytes(m_dir / "saved.bmp");
    HANDLE holder = CreateFileA((m_dir / "saved.bmp").string().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(dib.Save((m_dir / "saved.bmp").string().c_str()));
    CloseHandle(holder);
    EXPECT_EQ(m_messages.Messages(), (Texts{kMsgOpenSaveFile, kMsgOpenSaveFile}));
    EXPECT_EQ(ReadBytes(m_dir / "saved.bmp"), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"saved.bmp"});
}

// The 95/98 family's MoveFileExA only fails: the save renames instead, and a
// rename that fails puts the old picture back.
BOOL WINAPI MoveFileExStub(LPCSTR, LPCSTR, DWORD) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}
int g_renames = 0, g_failingRename = 0;
BOOL WINAPI MoveFileCounting(LPCSTR from, LPCSTR to) { return ++g_renames != g_failingRename && MoveFileA(from, to); }

TEST_F(ImageStore, WithoutMoveFileExTheSaveRenamesAndNeverLosesTheOldPicture) {
    CDib dib;
    dib.m_hImage = Block(Dib({8, 5, 3}));
    const std::string target = Put(File(Dib({24, 9, 9})), "saved.bmp");
    const Bytes old = ReadBytes(target);
    for (int failing : {2, 1, 0}) {  // the new picture in, the old one aside, none
        g_renames = 0, g_failingRename = failing;
        SetFileMoves(MoveFileExStub, MoveFileCounting);
        const BOOL saved = dib.Save(target.c_str());
        SetFileMoves(nullptr, nullptr);
        EXPECT_EQ(saved, failing == 0) << failing;
        EXPECT_EQ(ReadBytes(target) == old, failing != 0) << failing;
        EXPECT_EQ(Entries(), std::vector<std::string>{"saved.bmp"}) << failing;
    }
    EXPECT_EQ(g_renames, 2);
    EXPECT_EQ(m_messages.Messages(), (Texts{kMsgSaveFailed, kMsgSaveFailed}));
}

// A memory DC holding a DIB section of a test picture.
struct Source {
    explicit Source(const Picture& p) : dc(CreateCompatibleDC(nullptr)) {
        const Bytes dib = Dib(p);
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(dib.data()), DIB_RGB_COLORS, &bits, nullptr, 0);
        const std::size_t rows = static_cast<std::size_t>(RowBytes(p.w, p.bits)) * p.h;
        std::memcpy(bits, dib.data() + dib.size() - rows, rows);
        previous = SelectObject(dc, bitmap);
    }
    ~Source() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

TEST(CaptureTest, TheSourceDepthGivesHeaderTableRowsAndPixels) {
    MessageBoxRecorder messages;
    const struct {
        int bits, w, table;
    } rows[] = {{32, 20, 0}, {24, 21, 0}, {16, 21, 0}, {8, 101, 1024}, {1, 33, 8}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bits);
        Source source({row.bits, row.w, 3});
        CDC src(source.dc);
        CDib dib;
        ASSERT_TRUE(dib.Capture(&src, 0, 0, row.w, 3));
        const Bytes block = BlockBytes(dib.m_hImage);
        const std::uint32_t rowsSize = RowBytes(row.w, row.bits) * 3;
        ASSERT_EQ(block.size(), 40 + row.table + rowsSize);
        BITMAPINFOHEADER header;
        std::memcpy(&header, block.data(), 40);
        EXPECT_EQ(Size(header.biBitCount, header.biWidth), Size(row.bits, row.w));
        EXPECT_EQ(header.biSizeImage, rowsSize);
        Target target(row.w, 3);
        CDC dc(target.Hdc());
        dib.DrawFitted(&dc);
        for (int x = 0; row.bits != 16 && x < row.w; ++x) EXPECT_EQ(target.At(x, 2), ShownColor(row.bits, x, 2)) << x;
        // The screen DC gets its palette back after the conversion.
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(GetCurrentObject(screen, OBJ_PAL), GetStockObject(DEFAULT_PALETTE));
        ReleaseDC(nullptr, screen);
    }
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(OffscreenCanvasTest, ScreenSizedAtTheScreenDepthAndBlackFromStartUp) {
    BITMAP record{};
    ASSERT_EQ(g_canvas.GetBitmap(&record), static_cast<int>(sizeof record));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(record.bmBitsPixel, GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(nullptr, screen);
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(Size(record.bmWidth, record.bmHeight), Size(w, h));
    EXPECT_EQ(Size(g_canvas.m_nWidth, g_canvas.m_nHeight), Size(w, h));
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    HGDIOBJ previous = memory.SelectObject(&g_canvas);
    for (const POINT p : {POINT{0, 0}, POINT{w / 2, h / 2}, POINT{w - 1, h - 1}}) EXPECT_EQ(memory.GetPixel(p.x, p.y), 0u);
    memory.SelectObject(previous);
}

}  // namespace
