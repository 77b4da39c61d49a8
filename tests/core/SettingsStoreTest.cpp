// Settings loaded over the portable INI store: the conversions, and value texts
// read as the Windows profile API reads them.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "settings/IniFileStore.h"
#include "settings/SaverSettings.h"
#include "tests/core/ProfileValueTable.h"
#include "tests/core/TempDir.h"

namespace zorv {
namespace {

std::string Text(const SaverSettings& s) {
    return "Cycles=" + std::to_string(s.Cycles) + " Iters=" + std::to_string(s.Iters) + " Constant=" +
           std::to_string(s.Constant) + " Scale=" + std::to_string(s.Scale) + " View=" + std::to_string(s.View) +
           " Spread=" + std::to_string(s.Spread) + " Random=" + std::to_string(s.RandomSettings) +
           " Save=" + std::to_string(s.SaveImage);
}

SaverSettings LoadFrom(IniFileStore& store) {
    SaverSettings s{-1, -1, -1, -1, -1, -1, 1, 1};
    LoadSettings(s, store);
    return s;
}

// The exact text of a save, and defaults for missing keys, are checked end to
// end through the settings dialog; the writer's in-place edits by the fuzz target.
TEST(SettingsStore, StoredValuesLoadUnclampedNegativesAsUnsignedTogglesAsNotZero) {
    TempDir dir;
    IniFileStore store(dir / "zorvsave.ini");
    WriteFileText(store.Path(), "[ZorvSaver]\nCycles=-1\nIters=500\nView=250\nSpread=-5\nRandomSettings=7\nSaveImage=-1\n");
    EXPECT_EQ(Text(LoadFrom(store)), Text({4294967295.0, 500, 20, 16, 250, 4294967291.0, 1, 1}));
}

TEST(SettingsStore, ValueTextsGiveTheSameIntegersAsTheWindowsApi) {
    TempDir dir;
    IniFileStore store(dir / "values.ini");
    for (const ProfileValueCase& c : kProfileValueCases) {
        // Names match whatever their case, as the Windows API matches them.
        WriteFileText(store.Path(), std::string("[Other]\r\nIters=1\r\n[zorvSAVER]\r\niTERS=") + c.text + "\r\n");
        EXPECT_EQ(store.GetInt("ZorvSaver", "Iters", 30), c.expected) << "value text \"" << c.text << "\"";
    }
    EXPECT_EQ(store.GetInt("Missing", "Iters", -4), static_cast<std::uint32_t>(-4));
}

}  // namespace
}  // namespace zorv
