// The Windows profile store against the real API: the shared value-text table.
// (The exact text of a save is checked end to end through the dialog.)
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "settings/Win32ProfileStore.h"
#include "tests/core/ProfileValueTable.h"
#include "tests/core/TempDir.h"

namespace zorv {
namespace {

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

}  // namespace
}  // namespace zorv
