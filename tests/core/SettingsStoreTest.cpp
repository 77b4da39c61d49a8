// Settings load and save over the portable INI store: defaults, conversions and
// the exact file text.
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

TEST(SettingsStore, DefaultsWithoutFileAndTheirExactText) {
    TempDir dir;
    IniFileStore store(dir / "sub" / "zorvsave.ini");  // the folder is made on demand
    EXPECT_EQ(Text(LoadFrom(store)), Text(DefaultSettings()));
    EXPECT_FALSE(std::filesystem::exists(store.Path())) << "loading writes nothing";
    SaveSettings(DefaultSettings(), store);
    EXPECT_EQ(ReadFileText(store.Path()),
              "[ZorvSaver]\r\nCycles=37\r\nIters=30\r\nConstant=20\r\nScale=16\r\nView=30\r\nSpread=10\r\n"
              "RandomSettings=0\r\nSaveImage=0\r\n");
    WriteFileText(store.Path(), "[ZorvSaver]\r\nIters=55\r\n");
    SaverSettings expected = DefaultSettings();
    expected.Iters = 55;
    EXPECT_EQ(Text(LoadFrom(store)), Text(expected));
}

TEST(SettingsStore, SaveTruncatesAndLoadTakesStoredValuesUnclamped) {
    TempDir dir;
    IniFileStore store(dir / "zorvsave.ini");
    SaveSettings({12.75, -7, -0.5, -2.5, 37.9, std::numeric_limits<double>::quiet_NaN(), 1, 0}, store);
    EXPECT_EQ(ReadFileText(store.Path()),
              "[ZorvSaver]\r\nCycles=12\r\nIters=-7\r\nConstant=0\r\nScale=-2\r\nView=37\r\n"
              "Spread=-2147483648\r\nRandomSettings=1\r\nSaveImage=0\r\n");
    // Negative texts read back as unsigned 32-bit values; the toggles as "not zero".
    WriteFileText(store.Path(), "[ZorvSaver]\nCycles=-1\nIters=500\nView=250\nSpread=-5\nRandomSettings=7\nSaveImage=-1\n");
    EXPECT_EQ(Text(LoadFrom(store)), Text({4294967295.0, 500, 20, 16, 250, 4294967291.0, 1, 1}));
}

TEST(SettingsStore, SaveKeepsOtherSectionsAndKeysAndReplacesInPlace) {
    TempDir dir;
    IniFileStore store(dir / "zorvsave.ini");
    WriteFileText(store.Path(), "; note\r\n[Other]\r\nCycles=99\r\n[zorvsaver]\r\nView=5\r\nExtra=keep me\r\n\r\n[Tail]\r\nx=1\r\n");
    SaverSettings settings = DefaultSettings();
    settings.View = 42;
    SaveSettings(settings, store);
    EXPECT_EQ(ReadFileText(store.Path()),
              "; note\r\n[Other]\r\nCycles=99\r\n[zorvsaver]\r\nView=42\r\nExtra=keep me\r\n"
              "Cycles=37\r\nIters=30\r\nConstant=20\r\nScale=16\r\nSpread=10\r\nRandomSettings=0\r\nSaveImage=0\r\n"
              "\r\n[Tail]\r\nx=1\r\n");
}

TEST(SettingsStore, ValueTextsGiveTheSameIntegersAsTheWindowsApi) {
    TempDir dir;
    IniFileStore store(dir / "values.ini");
    for (const ProfileValueCase& c : kProfileValueCases) {
        WriteFileText(store.Path(), std::string("[Other]\r\nIters=1\r\n[ZorvSaver]\r\nIters=") + c.text + "\r\n");
        EXPECT_EQ(store.GetInt("ZorvSaver", "Iters", 30), c.expected) << "value text \"" << c.text << "\"";
    }
    EXPECT_EQ(store.GetInt("Missing", "Iters", -4), static_cast<std::uint32_t>(-4));
}

}  // namespace
}  // namespace zorv
