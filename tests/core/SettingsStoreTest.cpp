// Settings load and save over the portable INI store: defaults, conversions,
// exact file text, and the value-text table shared with the Windows store.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "settings/IniFileStore.h"
#include "settings/SaverSettings.h"
#include "tests/core/ProfileValueTable.h"
#include "tests/core/TempDir.h"

namespace zorv {
namespace {

const char kDefaultFileText[] =
    "[ZorvSaver]\r\nCycles=37\r\nIters=30\r\nConstant=20\r\nScale=16\r\nView=30\r\nSpread=10\r\n"
    "RandomSettings=0\r\nSaveImage=0\r\n";

void ExpectDefaults(const SaverSettings& s) {
    EXPECT_EQ(s.Cycles, 37.0);
    EXPECT_EQ(s.Iters, 30);
    EXPECT_EQ(s.Constant, 20.0);
    EXPECT_EQ(s.Scale, 16.0);
    EXPECT_EQ(s.View, 30.0);
    EXPECT_EQ(s.Spread, 10.0);
    EXPECT_EQ(s.RandomSettings, 0);
    EXPECT_EQ(s.SaveImage, 0);
}

SaverSettings Scrambled() {
    SaverSettings s{};
    s.Cycles = s.Constant = s.Scale = s.View = s.Spread = -123.0;
    s.Iters = -123;
    s.RandomSettings = s.SaveImage = 1;
    return s;
}

TEST(SettingsStore, LoadWithoutFileGivesDefaultsAndCreatesNoFile) {
    TempDir dir;
    IniFileStore store(dir / "zorvsave.ini");
    SaverSettings settings = Scrambled();
    LoadSettings(settings, store);
    ExpectDefaults(settings);
    EXPECT_FALSE(std::filesystem::exists(store.Path()));
}

TEST(SettingsStore, SavedDefaultsHaveTheExactTextAndLoadBack) {
    TempDir dir;
    IniFileStore store(dir / "sub" / "zorvsave.ini");  // the folder is created on demand
    SaveSettings(DefaultSettings(), store);
    EXPECT_EQ(ReadFileText(store.Path()), kDefaultFileText);
    SaverSettings settings = Scrambled();
    LoadSettings(settings, store);
    ExpectDefaults(settings);
}

TEST(SettingsStore, SaveWritesEightKeysInOrderWithTruncatedTexts) {
    SaverSettings settings = DefaultSettings();
    settings.Cycles = 12.75;
    settings.Iters = -7;
    settings.Constant = -0.5;
    settings.Scale = -2.5;
    settings.View = 37.9;
    settings.Spread = std::numeric_limits<double>::quiet_NaN();
    settings.RandomSettings = 1;
    TempDir dir;
    IniFileStore store(dir / "zorvsave.ini");
    SaveSettings(settings, store);
    EXPECT_EQ(ReadFileText(store.Path()),
              "[ZorvSaver]\r\nCycles=12\r\nIters=-7\r\nConstant=0\r\nScale=-2\r\nView=37\r\n"
              "Spread=-2147483648\r\nRandomSettings=1\r\nSaveImage=0\r\n");
}

TEST(SettingsStore, PartialFileLoadsItsKeyAndDefaultsForTheRest) {
    TempDir dir;
    IniFileStore store(dir / "zorvsave.ini");
    WriteFileText(store.Path(), "[ZorvSaver]\r\nIters=55\r\n");
    SaverSettings settings = Scrambled();
    LoadSettings(settings, store);
    EXPECT_EQ(settings.Iters, 55);
    settings.Iters = 30;
    ExpectDefaults(settings);
}

TEST(SettingsStore, StoredValuesAreTakenUnclampedWithTheirConversions) {
    TempDir dir;
    IniFileStore store(dir / "zorvsave.ini");
    WriteFileText(store.Path(),
                  "[ZorvSaver]\nCycles=-1\nIters=500\nConstant=4294967295\nScale=-2147483648\n"
                  "View=250\nSpread=-5\nRandomSettings=7\nSaveImage=-1\n");
    SaverSettings settings{};
    LoadSettings(settings, store);
    EXPECT_EQ(settings.Cycles, 4294967295.0);  // a negative 32-bit result reads as unsigned
    EXPECT_EQ(settings.Iters, 500);
    EXPECT_EQ(settings.Constant, 4294967295.0);
    EXPECT_EQ(settings.Scale, 2147483648.0);
    EXPECT_EQ(settings.View, 250.0);
    EXPECT_EQ(settings.Spread, 4294967291.0);
    EXPECT_EQ(settings.RandomSettings, 1);
    EXPECT_EQ(settings.SaveImage, 1);

    SaveSettings(settings, store);
    const std::string text = ReadFileText(store.Path());
    EXPECT_NE(text.find("RandomSettings=1"), std::string::npos) << text;
    EXPECT_NE(text.find("Cycles=-2147483648"), std::string::npos) << text;  // beyond 32 bits: the indefinite value
}

TEST(SettingsStore, SaveKeepsOtherSectionsAndKeysAndReplacesInPlace) {
    TempDir dir;
    IniFileStore store(dir / "zorvsave.ini");
    WriteFileText(store.Path(),
                  "; comment\r\n[Other]\r\nCycles=99\r\n[zorvsaver]\r\nView=5\r\nExtra=keep me\r\n\r\n[Tail]\r\nx=1\r\n");
    SaverSettings settings = DefaultSettings();
    settings.View = 42;
    SaveSettings(settings, store);
    EXPECT_EQ(ReadFileText(store.Path()),
              "; comment\r\n[Other]\r\nCycles=99\r\n[zorvsaver]\r\nView=42\r\nExtra=keep me\r\n"
              "Cycles=37\r\nIters=30\r\nConstant=20\r\nScale=16\r\nSpread=10\r\nRandomSettings=0\r\nSaveImage=0\r\n"
              "\r\n[Tail]\r\nx=1\r\n");
    EXPECT_EQ(store.GetInt("Other", "Cycles", 0), 99u);
}

TEST(SettingsStore, ValueTextsGiveTheSameIntegersAsTheWindowsApi) {
    TempDir dir;
    IniFileStore store(dir / "values.ini");
    for (const ProfileValueCase& c : kProfileValueCases) {
        WriteFileText(store.Path(), std::string("[ZorvSaver]\r\nIters=") + c.text + "\r\n");
        EXPECT_EQ(store.GetInt("ZorvSaver", "Iters", 30), c.expected) << "value text \"" << c.text << "\"";
    }
}

TEST(SettingsStore, AbsentSectionOrKeyGivesTheFallback) {
    TempDir dir;
    IniFileStore store(dir / "zorvsave.ini");
    WriteFileText(store.Path(), "[Other]\r\nIters=5\r\n[ZorvSaver]\r\nCycles=1\r\n");
    EXPECT_EQ(store.GetInt("ZorvSaver", "Iters", 30), 30u);
    EXPECT_EQ(store.GetInt("Missing", "Cycles", -4), static_cast<std::uint32_t>(-4));
}

}  // namespace
}  // namespace zorv
