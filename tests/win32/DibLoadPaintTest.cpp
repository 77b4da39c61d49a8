// CDib under Wine: loading BMP files of every depth in both header layouts,
// refusing bad files with the right messages, palettes, and painting through
// GDI into memory DCs whose pixels are read back.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "image/Dib.h"
#include "tests/core/DibFixtures.h"
#include "tests/core/TempDir.h"
#include "tests/win32/DibTestSupport.h"
#include "tests/win32/MessageBoxRecorder.h"

namespace {

using dibtest::ExpectedColor;
using dibtest::MakeFile;
using dibtest::MakePicture;
using dibtest::Target;
using Messages = std::vector<std::string>;

class DibLoad : public ::testing::Test {
protected:
    std::string Put(const std::vector<std::uint8_t>& bytes, const char* name = "picture.bmp") {
        const auto path = m_dir / name;
        dibtest::WriteBytes(path, bytes);
        return path.string();
    }

    zorv::TempDir m_dir;
    MessageBoxRecorder m_messages;
};

TEST_F(DibLoad, EveryDepthInBothLayoutsLoadsAndPaintsAtNaturalSize) {
    for (bool core : {false, true}) {
        for (int bits : {1, 4, 8, 24, 32}) {
            SCOPED_TRACE(std::string(core ? "core " : "info ") + std::to_string(bits) + " bits");
            m_messages.Clear();
            const int w = 7, h = 3;
            CDib dib;
            ASSERT_TRUE(dib.Load(Put(MakeFile(MakePicture(core, bits, w, h))).c_str()));
            EXPECT_TRUE(m_messages.Messages().empty());
            EXPECT_EQ(dib.m_nWidth, w);
            EXPECT_EQ(dib.m_nHeight, h);

            if (bits <= 8) {
                ASSERT_TRUE(dib.m_pImagePalette);
                const UINT count = 1u << bits;
                ASSERT_EQ(dib.m_pImagePalette->GetEntryCount(), count);
                std::vector<PALETTEENTRY> entries(count);
                dib.m_pImagePalette->GetPaletteEntries(0, count, entries.data());
                for (UINT i = 0; i < count; ++i) {
                    const COLORREF c = dibtest::TableColor(static_cast<int>(i));
                    EXPECT_EQ(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue), c) << i;
                    EXPECT_EQ(entries[i].peFlags, 0) << i;
                }
            } else {
                EXPECT_FALSE(dib.m_pImagePalette);
            }

            Target target(w + 2, h + 2);
            CDC dc(target.Hdc());
            dib.DrawFitted(&dc);
            EXPECT_TRUE(m_messages.Messages().empty());
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) EXPECT_EQ(target.At(x, y), ExpectedColor(bits, x, y)) << x << "," << y;
            EXPECT_EQ(target.At(w, 0), Target::kSentinel);
            EXPECT_EQ(target.At(0, h), Target::kSentinel);
        }
    }
}

TEST_F(DibLoad, BadFilesAreRefusedWithTheirMessagesInOrder) {
    using fixtures = std::vector<std::uint8_t>;
    namespace fx = zorv::fixtures;
    const auto file = [](const fixtures& dib) { return MakeFile(dib); };
    const auto cut = [](fixtures bytes, std::size_t n) {
        bytes.resize(n);
        return bytes;
    };
    const auto withHeaderSize = [](fixtures dib, std::uint32_t size) {
        zorv::WriteLe32(dib, 0, size);
        return dib;
    };
    const Messages notDib = {kMsgNotDib};
    const Messages tooBig = {kMsgTooBig, kMsgNotDib};
    struct Row {
        const char* name;
        fixtures bytes;
        BOOL result;
        Messages messages;
    };
    fixtures wrongMagic = file(fx::kInfo24By2x2);
    wrongMagic[0] = 'M', wrongMagic[1] = 'B';
    fixtures bare = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const Row rows[] = {
        {"0 bytes", {}, FALSE, notDib},
        {"13 bytes", cut(file(fx::kInfo24By2x2), 13), FALSE, notDib},
        {"14 bytes: a file header alone", bare, FALSE, notDib},
        {"wrong magic", wrongMagic, FALSE, notDib},
        {"header size 0", file(fx::MakeCoreDib(0, 2, 2, 24, 40 + 16)), TRUE, {}},
        {"header size 12", file(fx::kCore4By3x2), TRUE, {}},
        {"header size 39", file(fx::MakeCoreDib(39, 2, 2, 24, 40 + 16)), TRUE, {}},
        {"header size 40", file(fx::kInfo24By2x2), TRUE, {}},
        {"header size 108", file(withHeaderSize(fx::MakeCoreDib(0, 2, 2, 24, 124), 108)), TRUE, {}},
        {"header size 124", file(fx::MakeCoreDib(124, 2, 2, 24, 124 + 16)), TRUE, {}},
        {"header size 0xFFFFFFFF", file(fx::MakeCoreDib(0xFFFFFFFF, 2, 2, 24, 200)), FALSE, notDib},
        {"colours used 20", file(fx::MakeInfoDib(fx::Info(2, 2, 24, 20), 20, 16)), TRUE, {}},
        {"colours used 16384, table missing", file(fx::MakeInfoDib(fx::Info(2, 2, 24, 16384), 0, 16)), FALSE, notDib},
        {"colours used 0xFFFFFFFF", file(fx::MakeInfoDib(fx::Info(2, 2, 8, 0xFFFFFFFF), 256, 16)), FALSE, notDib},
        {"bits 0", file(fx::MakeInfoDib(fx::Info(2, 2, 0), 1, 0)), TRUE, {}},
        {"bits 16", file(fx::MakeInfoDib(fx::Info(2, 2, 16), 0, 8)), TRUE, {}},
        {"bits 33", file(fx::MakeInfoDib(fx::Info(1, 1, 33), 0, 8)), TRUE, {}},
        {"bits 33, rows missing", file(fx::MakeInfoDib(fx::Info(1, 1, 33), 0, 7)), FALSE, notDib},
        {"RLE8", file(fx::MakeInfoDib(fx::Info(2, 2, 8, 0, 1, 6), 256, 6)), TRUE, {}},
        {"RLE4 size beyond", file(fx::MakeInfoDib(fx::Info(2, 2, 4, 0, 2, 60), 16, 6)), FALSE, notDib},
        {"bit fields", file(fx::MakeInfoDib(fx::Info(2, 2, 16, 0, 3), 3, 8)), TRUE, {}},
        {"garbage compression", file(fx::MakeInfoDib(fx::Info(2, 2, 24, 0, 0xDEAD), 0, 16)), TRUE, {}},
        {"negative height", file(fx::MakeInfoDib(fx::Info(2, -2, 24), 0, 16)), FALSE, tooBig},
        {"negative width", file(fx::MakeInfoDib(fx::Info(-2, 2, 24), 0, 16)), FALSE, tooBig},
        {"width 0", file(fx::MakeInfoDib(fx::Info(0, 2, 24), 0, 0)), TRUE, {}},
        {"height 0", file(fx::MakeInfoDib(fx::Info(2, 0, 24), 0, 0)), TRUE, {}},
        {"width 1", file(fx::MakeInfoDib(fx::Info(1, 1, 24), 0, 4)), TRUE, {}},
        {"width 2^31-1", file(fx::MakeInfoDib(fx::Info(2147483647, 1, 24), 0, 16)), FALSE, notDib},
        {"height 2^31-1", file(fx::MakeInfoDib(fx::Info(1, 2147483647, 24), 0, 16)), FALSE, notDib},
        {"last row byte missing", cut(file(fx::kInfo24By2x2), 14 + 55), FALSE, notDib},
        {"colour table cut", cut(file(fx::kCore4By3x2), 14 + 40), FALSE, notDib},
    };
    for (const Row& row : rows) {
        m_messages.Clear();
        CDib dib;
        EXPECT_EQ(dib.Load(Put(row.bytes).c_str()), row.result) << row.name;
        EXPECT_EQ(m_messages.Messages(), row.messages) << row.name;
        EXPECT_EQ(dib.m_hImage != nullptr, row.result == TRUE) << row.name;
        if (!row.result) {
            EXPECT_FALSE(dib.m_pImagePalette) << row.name;
        }
        for (const auto& style : MessageBoxRecorder::Styles()) {
            EXPECT_EQ(style, std::make_pair(0u, 0u)) << row.name << ": style 0, help context 0";
        }
        // Whatever was accepted goes to GDI safely: drawn, or refused by GDI with the painting message.
        m_messages.Clear();
        Target target(4, 4);
        CDC dc(target.Hdc());
        dib.DrawFitted(&dc);
        EXPECT_TRUE(m_messages.Messages().empty() || m_messages.Messages() == Messages{kMsgSetDIBitsFailed})
            << row.name;
        if (!row.result) {
            EXPECT_TRUE(target.Untouched()) << row.name;
        }
    }
}

TEST_F(DibLoad, TheBlockIsTheBodyPlusFourteenZeroBytesWhateverTheOffsetField) {
    // The offset field claims a gap of 20 bytes; the rows are read right behind the header.
    CDib dib;
    ASSERT_TRUE(dib.Load(Put(MakeFile(zorv::fixtures::kInfo24By2x2, 74)).c_str()));
    const auto block = dibtest::BlockBytes(dib.m_hImage);
    ASSERT_GE(block.size(), zorv::fixtures::kInfo24By2x2.size() + 14);
    EXPECT_TRUE(std::equal(zorv::fixtures::kInfo24By2x2.begin(), zorv::fixtures::kInfo24By2x2.end(), block.begin()));
    for (std::size_t i = zorv::fixtures::kInfo24By2x2.size(); i < block.size(); ++i) EXPECT_EQ(block[i], 0) << i;
}

TEST_F(DibLoad, FailuresKeepOrDropThePreviousPictureAsTheirCaseSays) {
    const std::string good = Put(MakeFile(MakePicture(false, 8, 5, 4)), "good.bmp");
    const std::string bigger = Put(MakeFile(zorv::fixtures::MakeInfoDib(zorv::fixtures::Info(3, -3, 24), 0, 36)), "big.bmp");

    // Open failure: everything stays and can still be painted.
    CDib dib;
    ASSERT_TRUE(dib.Load(good.c_str()));
    HGLOBAL hBefore = dib.m_hImage;
    CPalette* pBefore = dib.m_pImagePalette.get();
    m_messages.Clear();
    EXPECT_FALSE(dib.Load((m_dir / "missing.bmp").string().c_str()));
    EXPECT_EQ(m_messages.Messages(), Messages{kMsgOpenFile});
    EXPECT_EQ(dib.m_hImage, hBefore);
    EXPECT_EQ(dib.m_pImagePalette.get(), pBefore);
    Target target(5, 4);
    CDC dc(target.Hdc());
    dib.DrawFitted(&dc);
    EXPECT_EQ(target.At(4, 3), ExpectedColor(8, 4, 3));

    // Too big: picture and palette gone, recorded size of the previous picture kept.
    m_messages.Clear();
    EXPECT_FALSE(dib.Load(bigger.c_str()));
    EXPECT_EQ(m_messages.Messages(), (Messages{kMsgTooBig, kMsgNotDib}));
    EXPECT_EQ(dib.m_hImage, nullptr);
    EXPECT_FALSE(dib.m_pImagePalette);
    EXPECT_EQ(dib.m_nWidth, 5);
    EXPECT_EQ(dib.m_nHeight, 4);
}

TEST_F(DibLoad, ReadErrorDropsThePictureButKeepsPaletteAndSize) {
    const std::string good = Put(MakeFile(MakePicture(false, 4, 6, 2)), "good.bmp");
    CDib dib;
    ASSERT_TRUE(dib.Load(good.c_str()));
    CPalette* pPalette = dib.m_pImagePalette.get();
    ASSERT_NE(pPalette, nullptr);

    // A pipe opens like a file, but its server hangs up before sending
    // anything: the length query or the read of the file header fails.
    const std::string pipeName = "\\\\.\\pipe\\zorv-read-error-" + std::to_string(GetCurrentProcessId());
    HANDLE server = CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 64, 64, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    std::thread hangUp([server] {
        ConnectNamedPipe(server, nullptr);
        Sleep(50);
        CloseHandle(server);
    });
    m_messages.Clear();
    EXPECT_FALSE(dib.Load(pipeName.c_str()));
    hangUp.join();

    EXPECT_EQ(m_messages.Messages(), Messages{kMsgReadFile});
    EXPECT_EQ(dib.m_hImage, nullptr);
    EXPECT_EQ(dib.m_pImagePalette.get(), pPalette);
    EXPECT_EQ(dib.m_nWidth, 6);
    EXPECT_EQ(dib.m_nHeight, 2);
}

TEST(PaintDIBTest, SameSizeSourceIsCountedFromTheBottom) {
    MessageBoxRecorder messages;
    HGLOBAL hDib = dibtest::MakeBlock(MakePicture(false, 24, 4, 4));
    Target target(4, 4);
    const RECT dest{0, 0, 2, 2}, src{1, 1, 3, 3};
    EXPECT_NE(PaintDIB(target.Hdc(), &dest, hDib, &src, nullptr), 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(target.At(x, y), ExpectedColor(24, 1 + x, 1 + y)) << x << "," << y;
    EXPECT_EQ(target.At(2, 0), Target::kSentinel);
    EXPECT_EQ(GetStretchBltMode(target.Hdc()), COLORONCOLOR);
    EXPECT_TRUE(messages.Messages().empty());
    GlobalFree(hDib);
}

TEST(PaintDIBTest, StretchedWithColorOnColorAndTheSourceTopPassedUnchanged) {
    MessageBoxRecorder messages;
    HGLOBAL hDib = dibtest::MakeBlock(MakePicture(false, 24, 2, 2));
    Target target(4, 4);
    SetStretchBltMode(target.Hdc(), HALFTONE);
    const RECT dest{0, 0, 4, 4}, whole{0, 0, 2, 2};
    EXPECT_NE(PaintDIB(target.Hdc(), &dest, hDib, &whole, nullptr), 0);
    EXPECT_EQ(GetStretchBltMode(target.Hdc()), COLORONCOLOR);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(target.At(x, y), ExpectedColor(24, x / 2, y / 2)) << x << "," << y;

    // GDI counts the stretch source from the bottom row, so top 0 names the bottom row.
    target.Fill(Target::kSentinel);
    const RECT corner{0, 0, 1, 1};
    EXPECT_NE(PaintDIB(target.Hdc(), &whole, hDib, &corner, nullptr), 0);
    EXPECT_EQ(target.At(0, 0), ExpectedColor(24, 0, 1));
    EXPECT_EQ(target.At(1, 1), ExpectedColor(24, 0, 1));
    EXPECT_TRUE(messages.Messages().empty());
    GlobalFree(hDib);
}

TEST(PaintDIBTest, PaletteIsSelectedAsBackgroundAndTheOldOneRestored) {
    MessageBoxRecorder messages;
    HGLOBAL hDib = dibtest::MakeBlock(MakePicture(false, 8, 3, 3));
    CPalette palette;
    ASSERT_TRUE(MakeDIBPalette(hDib, &palette));
    EXPECT_EQ(palette.GetEntryCount(), 256u);

    Target target(3, 3);
    HPALETTE hBefore = static_cast<HPALETTE>(GetCurrentObject(target.Hdc(), OBJ_PAL));
    const RECT r{0, 0, 3, 3};
    EXPECT_EQ(PaintDIB(target.Hdc(), &r, hDib, &r, &palette), 3);
    EXPECT_EQ(GetCurrentObject(target.Hdc(), OBJ_PAL), hBefore);
    EXPECT_EQ(target.At(2, 1), ExpectedColor(8, 2, 1));
    EXPECT_TRUE(messages.Messages().empty());
    GlobalFree(hDib);
}

TEST(PaintDIBTest, GdiFailuresAndBlocksTooShortShowThePathsMessage) {
    MessageBoxRecorder messages;
    struct Row {
        const char* name;
        std::vector<std::uint8_t> dib;
        RECT dest;
        const char* message;
    };
    auto shortRows = MakePicture(false, 24, 4, 4);
    shortRows.pop_back();
    const RECT same{0, 0, 4, 4}, stretched{0, 0, 2, 2};
    const Row rows[] = {
        {"33 bits same size", zorv::fixtures::MakeInfoDib(zorv::fixtures::Info(4, 4, 33), 0, 80), same,
         kMsgSetDIBitsFailed},
        {"33 bits stretched", zorv::fixtures::MakeInfoDib(zorv::fixtures::Info(4, 4, 33), 0, 80), stretched,
         kMsgStretchFailed},
        {"rows past the block, same size", shortRows, same, kMsgSetDIBitsFailed},
        {"rows past the block, stretched", shortRows, stretched, kMsgStretchFailed},
    };
    for (const Row& row : rows) {
        messages.Clear();
        HGLOBAL hDib = dibtest::MakeBlock(row.dib);
        Target target(4, 4);
        const RECT src{0, 0, 4, 4};
        EXPECT_EQ(PaintDIB(target.Hdc(), &row.dest, hDib, &src, nullptr), 0) << row.name;
        EXPECT_EQ(messages.Messages(), Messages{row.message}) << row.name;
        EXPECT_TRUE(target.Untouched()) << row.name;
        GlobalFree(hDib);
    }
}

TEST(DrawFittedTest, PrintingFitsTheWholePictureToEightyPercentOfThePageWidth) {
    MessageBoxRecorder messages;
    CDib dib;
    dib.m_hImage = dibtest::MakeBlock(MakePicture(false, 24, 4, 2));
    Target target(1, 1);  // only its device capabilities matter for the size
    const int pageWidth = GetDeviceCaps(target.Hdc(), HORZRES);
    const int width = static_cast<int>(0.8 * pageWidth);
    const int height = width / 2;  // square dots on a memory DC
    ASSERT_EQ(GetDeviceCaps(target.Hdc(), LOGPIXELSX), GetDeviceCaps(target.Hdc(), LOGPIXELSY));

    Target page(width + 4, height + 4);
    CDC dc(page.Hdc());
    dc.m_bPrinting = TRUE;
    dc.m_hAttribDC = target.Hdc();
    dib.DrawFitted(&dc);
    EXPECT_EQ(page.At(0, 0), ExpectedColor(24, 0, 0));
    EXPECT_EQ(page.At(width - 1, height - 1), ExpectedColor(24, 3, 1));
    EXPECT_EQ(page.At(width, 0), Target::kSentinel);
    EXPECT_EQ(page.At(0, height), Target::kSentinel);
    EXPECT_TRUE(messages.Messages().empty());
}

}  // namespace
