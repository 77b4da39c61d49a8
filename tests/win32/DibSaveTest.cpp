// CDib::Save and WriteDIBToFile under Wine: the bytes written, save → load
// round trips, and that no failure ever costs the previous file or leaves a
// temporary file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "image/BmpFile.h"
#include "image/Dib.h"
#include "tests/core/DibFixtures.h"
#include "tests/core/TempDir.h"
#include "tests/win32/DibTestSupport.h"
#include "tests/win32/MessageBoxRecorder.h"

namespace {

using dibtest::MakeFile;
using dibtest::MakePicture;
using dibtest::ReadBytes;
using Messages = std::vector<std::string>;
namespace fx = zorv::fixtures;

class DibSave : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const { return (m_dir / name).string(); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // A picture that is already on disk as `name`, with known bytes.
    std::vector<std::uint8_t> PutOld(const char* name) {
        const auto old = MakeFile(MakePicture(false, 8, 9, 9));
        dibtest::WriteBytes(m_dir / name, old);
        return old;
    }

    zorv::TempDir m_dir;
    MessageBoxRecorder m_messages;
};

TEST_F(DibSave, RoundTripGivesBackHeaderTableAndRowsAtEveryDepth) {
    for (int bits : {1, 4, 8, 24, 32}) {
        for (int w : {1, 5, 33, 101}) {
            SCOPED_TRACE(std::to_string(bits) + " bits, width " + std::to_string(w));
            const auto picture = MakePicture(false, bits, w, 3);
            CDib dib;
            dib.m_hImage = dibtest::MakeBlock(picture);
            const std::string path = PathOf("round.bmp");
            ASSERT_TRUE(dib.Save(path.c_str()));
            EXPECT_TRUE(m_messages.Messages().empty());

            // On disk: the file header, then the DIB with its image size filled in.
            auto expected = picture;
            zorv::WriteLe32(expected, 20, static_cast<std::uint32_t>(zorv::DibRowBytes(w, bits) * 3));
            const auto file = ReadBytes(path);
            EXPECT_EQ(file, MakeFile(expected));
            EXPECT_EQ(dibtest::BlockBytes(dib.m_hImage), expected);  // the CDib carries the size too

            CDib back;
            ASSERT_TRUE(back.Load(path.c_str()));
            const auto loaded = dibtest::BlockBytes(back.m_hImage);
            ASSERT_GE(loaded.size(), expected.size());
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), loaded.begin()));
            EXPECT_EQ(Entries(), std::vector<std::string>{"round.bmp"});
        }
    }
}

TEST_F(DibSave, FailuresLeaveThePreviousFileExactlyAsItWasAndNoTemporaryFile) {
    auto beyond = MakePicture(false, 24, 4, 4);
    beyond.resize(beyond.size() - 1);  // the header announces one byte more than the block holds
    struct Row {
        const char* name;
        std::vector<std::uint8_t> dib;  // empty: no picture
        Messages messages;
    };
    const Row rows[] = {
        {"no picture", {}, {}},
        {"core header", fx::kCore4By3x2, {}},
        {"header size 108", fx::MakeCoreDib(108, 2, 2, 24, 200), {}},
        {"pixels beyond the block", beyond, {kMsgSaveFailed}},
        {"negative height", fx::MakeInfoDib(fx::Info(2, -2, 24), 0, 16), {kMsgSaveFailed}},
    };
    for (const Row& row : rows) {
        m_messages.Clear();
        const auto old = PutOld("old.bmp");
        CDib dib;
        if (!row.dib.empty()) dib.m_hImage = dibtest::MakeBlock(row.dib);
        EXPECT_FALSE(dib.Save(PathOf("old.bmp").c_str())) << row.name;
        EXPECT_EQ(m_messages.Messages(), row.messages) << row.name;
        EXPECT_EQ(ReadBytes(m_dir / "old.bmp"), old) << row.name;
        EXPECT_EQ(Entries(), std::vector<std::string>{"old.bmp"}) << row.name;
        if (!row.dib.empty()) {
            EXPECT_EQ(dibtest::BlockBytes(dib.m_hImage).size(), row.dib.size()) << row.name;
        }
    }
    // Without a previous file, a failed save creates none.
    m_messages.Clear();
    CDib empty;
    EXPECT_FALSE(empty.Save(PathOf("new.bmp").c_str()));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "new.bmp"));
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(DibSave, TargetThatCannotBeOpenedIsReportedAndKept) {
    CDib dib;
    dib.m_hImage = dibtest::MakeBlock(MakePicture(false, 24, 2, 2));

    // A folder that does not exist.
    EXPECT_FALSE(dib.Save((m_dir / "nowhere" / "x.bmp").string().c_str()));
    EXPECT_EQ(m_messages.Messages(), Messages{kMsgOpenSaveFile});

    // A file held open by someone else without sharing.
    const auto old = PutOld("held.bmp");
    HANDLE holder = CreateFileA(PathOf("held.bmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    m_messages.Clear();
    EXPECT_FALSE(dib.Save(PathOf("held.bmp").c_str()));
    CloseHandle(holder);
    EXPECT_EQ(m_messages.Messages(), Messages{kMsgOpenSaveFile});
    EXPECT_EQ(ReadBytes(m_dir / "held.bmp"), old);

    EXPECT_EQ(Entries(), std::vector<std::string>{"held.bmp"});
}

TEST(WriteDIBToFileTest, WritesNothingForNoBlockOrOtherLayouts) {
    zorv::TempDir dir;
    const std::string path = (dir / "w.bin").string();
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive));
    EXPECT_FALSE(WriteDIBToFile(nullptr, file));
    HGLOBAL core = dibtest::MakeBlock(fx::kCore4By3x2);
    EXPECT_FALSE(WriteDIBToFile(core, file));
    EXPECT_EQ(file.GetLength(), 0u);
    // A block beyond its header raises before writing anything, and is left unlocked.
    auto beyond = MakePicture(false, 8, 4, 4);
    beyond.pop_back();
    HGLOBAL hBeyond = dibtest::MakeBlock(beyond);
    EXPECT_THROW(WriteDIBToFile(hBeyond, file), CException);
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(GlobalFlags(hBeyond) & GMEM_LOCKCOUNT, 0u);
    GlobalFree(core);
    GlobalFree(hBeyond);
}

}  // namespace
