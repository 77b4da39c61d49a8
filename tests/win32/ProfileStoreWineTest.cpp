// The Windows profile store against the real API: the shared value-text table,
// and the exact text of a first save in the Windows directory.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "settings/SaverSettings.h"
#include "settings/Win32ProfileStore.h"
#include "tests/core/ProfileValueTable.h"
#include "tests/core/TempDir.h"

namespace zorv {
namespace {

std::filesystem::path WindowsDirFile(const char* name) {
    char dir[MAX_PATH] = {};
    GetWindowsDirectoryA(dir, MAX_PATH);
    return std::filesystem::path(dir) / name;
}

TEST(Win32ProfileStore, ValueTextsGiveTheTableIntegers) {
    TempDir dir;
    const std::string path = (dir / "values.ini").string();
    CWin32ProfileStore store(path.c_str());
    for (const ProfileValueCase& c : kProfileValueCases) {
        WriteFileText(path, std::string("[ZorvSaver]\r\nIters=") + c.text + "\r\n");
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // drop the API's cached copy
        EXPECT_EQ(store.GetInt("ZorvSaver", "Iters", 30), c.expected) << "value text \"" << c.text << "\"";
    }
}

TEST(Win32ProfileStore, FirstSaveInTheWindowsDirectoryHasTheExactText) {
    const std::filesystem::path file = WindowsDirFile(kSettingsFile);
    std::filesystem::remove(file);
    CWin32ProfileStore store(kSettingsFile);

    SaverSettings settings = DefaultSettings();
    LoadSettings(settings, store);
    EXPECT_FALSE(std::filesystem::exists(file)) << "a load must not create the file";

    settings.Iters = 55;
    settings.SaveImage = 1;
    SaveSettings(settings, store);
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, kSettingsFile);  // flush
    EXPECT_EQ(ReadFileText(file),
              "[ZorvSaver]\r\nCycles=37\r\nIters=55\r\nConstant=20\r\nScale=16\r\nView=30\r\nSpread=10\r\n"
              "RandomSettings=0\r\nSaveImage=1\r\n");

    SaverSettings loaded{};
    LoadSettings(loaded, store);
    EXPECT_EQ(loaded.Iters, 55);
    EXPECT_EQ(loaded.SaveImage, 1);
    EXPECT_EQ(loaded.Cycles, 37.0);
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace zorv
