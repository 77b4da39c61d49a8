// The framework's file, device-context and GDI-object wrappers and the
// application message box hook, exercised for real under Wine.
#include <gtest/gtest.h>

#include <string>

#include "framework/DC.h"
#include "framework/File.h"
#include "framework/GdiObject.h"
#include "tests/win32/MessageBoxRecorder.h"
#include "tests/core/TempDir.h"

namespace {

TEST(AppMessageBox, HookReceivesTextStyleAndHelpInOrder) {
    MessageBoxRecorder recorder;
    EXPECT_EQ(AppMessageBox("first"), IDOK);
    AppMessageBox("second", MB_OK, 7);
    ASSERT_EQ(recorder.Messages().size(), 2u);
    EXPECT_EQ(recorder.Messages()[0], "first");
    EXPECT_EQ(recorder.Messages()[1], "second");
    EXPECT_EQ(MessageBoxRecorder::Styles()[0], std::make_pair(0u, 0u));
    EXPECT_EQ(MessageBoxRecorder::Styles()[1], std::make_pair(0u, 7u));
}

TEST(CFile, WriteThenReadBackWithLengthAndShortReadAtEnd) {
    zorv::TempDir dir;
    const std::string path = (dir / "data.bin").string();
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive));
        file.Write("abcdef", 6);
        file.Close();
        EXPECT_FALSE(file.IsOpen());
    }
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_EQ(file.GetLength(), 6u);
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, 4), 4u);
    EXPECT_EQ(file.GetLength(), 6u);  // the position is untouched by the length query
    EXPECT_EQ(file.Read(buffer + 4, 10), 2u);
    EXPECT_EQ(std::string(buffer), "abcdef");
    EXPECT_EQ(file.Read(buffer, 0), 0u);
}

TEST(CFile, OpenOfMissingFileFailsWithoutRaisingAndReportsCause) {
    zorv::TempDir dir;
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open((dir / "missing.bin").string().c_str(), CFile::modeRead, &error));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
}

TEST(CFile, WriteToReadOnlyHandleRaisesFileException) {
    zorv::TempDir dir;
    const std::string path = (dir / "ro.bin").string();
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite));
    }
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_THROW(file.Write("x", 1), CFileException);
    file.Abort();
    EXPECT_FALSE(file.IsOpen());
}

TEST(CFile, SharingModesAreEnforced) {
    zorv::TempDir dir;
    const std::string path = (dir / "shared.bin").string();
    CFile writer;
    ASSERT_TRUE(writer.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive));
    CFile reader;
    CFileException error;
    EXPECT_FALSE(reader.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
}

TEST(CGdiObject, AttachOfNullFailsAndMoveTransfersOwnership) {
    CPalette palette;
    EXPECT_FALSE(palette.Attach(nullptr));
    EXPECT_EQ(palette.GetSafeHandle(), nullptr);

    CBitmap first;
    CDC screen;
    ASSERT_TRUE(screen.CreateCompatibleDC(nullptr));
    ASSERT_TRUE(first.CreateCompatibleBitmap(&screen, 4, 3));
    HBITMAP handle = first;
    CBitmap second(std::move(first));
    EXPECT_EQ(first.GetSafeHandle(), nullptr);
    EXPECT_EQ(second.GetSafeHandle(), handle);
    BITMAP info{};
    EXPECT_EQ(second.GetBitmap(&info), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(info.bmWidth, 4);
    EXPECT_EQ(info.bmHeight, 3);
    EXPECT_TRUE(second.DeleteObject());
    EXPECT_EQ(GetObjectType(handle), 0u);  // really deleted
}

TEST(CDC, MemoryDCDrawsIntoSelectedBitmapAndIsDeletedByOwner) {
    CDC screen(GetDC(nullptr));
    HDC hdcMemory = nullptr;
    {
        CDC memory;
        ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
        hdcMemory = memory.GetSafeHdc();
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 8, 8));
        HGDIOBJ previous = memory.SelectObject(&bitmap);
        ASSERT_NE(previous, nullptr);
        memory.PatBlt(0, 0, 8, 8, WHITENESS);
        memory.FillSolidRect(2, 2, 2, 2, RGB(255, 0, 0));
        EXPECT_EQ(memory.GetPixel(0, 0), RGB(255, 255, 255));
        EXPECT_EQ(memory.GetPixel(3, 3), RGB(255, 0, 0));
        memory.PatBlt(0, 0, 8, 8, BLACKNESS);
        EXPECT_EQ(memory.GetPixel(3, 3), RGB(0, 0, 0));
        memory.SelectObject(previous);
    }
    EXPECT_EQ(GetObjectType(hdcMemory), 0u);
    ReleaseDC(nullptr, screen.Detach());
}

TEST(CDC, BorrowedDCIsNeverDeleted) {
    HDC hdc = CreateCompatibleDC(nullptr);
    { CDC borrowed(hdc); }
    EXPECT_EQ(GetObjectType(hdc), static_cast<DWORD>(OBJ_MEMDC));
    DeleteDC(hdc);
}

}  // namespace
