#include "settings/settings_model.h"

#include <gtest/gtest.h>

#include "memory_registry.h"
#include "settings_start.h"

namespace ostrel {
namespace {

using testing::MemoryRegistry;
constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKCU = RegistryRoot::CurrentUser;
const std::u16string kSub = u"Software\\Brantic\\Ostrel4";
const std::u16string kProgramDir = u"C:\\Program Files\\Ostrel\\";
// The stand-in engine's report: volume max/min/def, then min/max/def.
const EngineReport kReport{500, 0, 100, 50, 250, 100, 50, 200, 100, 0, 65535, 800, 0, 65535, 300};

std::u16string Sub(const char16_t* language) { return kSub + u"\\" + language; }

class SettingsModelTest : public ::testing::Test {
 protected:
  // The start-up order of the toolbar: load, start each enabled language, settle.
  AppSettings Start() { return testing::StartSettings(store, kProgramDir, kReport); }

  MemoryRegistry registry;
  RegistryStore store{registry};
};

TEST_F(SettingsModelTest, EmptyRegistryGivesTheDefaults) {
  const AppSettings s = Start();
  EXPECT_EQ(s.UseLanguageSet, 15);
  EXPECT_EQ(s.languageEnabled, (std::array<bool, 4>{true, true, true, true}));
  EXPECT_EQ(s.language, 0);
  EXPECT_EQ(s.x, 0);
  EXPECT_EQ(s.y, 0);
  EXPECT_EQ(s.Repeat, 0);
  EXPECT_EQ(s.Alpha, 255);
  EXPECT_EQ(s.Alpha_Min, 55);
  EXPECT_EQ(s.Alpha_Max, 255);
  EXPECT_EQ(s.HotKeySelRead, 0x0250);
  EXPECT_EQ(s.HotKeyAllRead, 0x0350);
  EXPECT_EQ(s.HotKeyStop, 0x0353);
  EXPECT_EQ(s.KeepClipboard, 0);
  EXPECT_EQ(s.LanguageByScript, 0);
  EXPECT_EQ(s.QuickCapture, 0);
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    const LanguageSettings& ls = s.languages[l];
    EXPECT_EQ(ls.voice.volume, 100);
    EXPECT_EQ(ls.voice.speed, 100);
    EXPECT_EQ(ls.voice.pitch, 100);
    EXPECT_EQ(ls.voice.pause, 800);
    EXPECT_EQ(ls.voice.commapause, 300);
    EXPECT_EQ(ls.voice.ParenthesisCharNumber, 0);
    EXPECT_EQ(ls.codepage, 0);
    EXPECT_EQ(ls.UserDicPath, DefaultUserDicPath(l, kProgramDir));
  }
  EXPECT_EQ(s.languages[kKorean].UserDicPath,
            kProgramDir + u"VW\\VT\\Yumi\\M16\\data-common\\userdict\\userdict_kor.csv");
}

TEST_F(SettingsModelTest, EngineRangesTakeVolumeMaximumFirst) {
  AppSettings s;
  const EngineReport report{9, 1, 5, 10, 90, 50, 20, 80, 40, 0, 7, 3, 2, 8, 4};
  ApplyEngineRanges(s, store, kEnglish, report);
  const auto& r = s.languages[kEnglish].ranges;
  EXPECT_EQ(r[kVolume].min, 1);
  EXPECT_EQ(r[kVolume].max, 9);
  EXPECT_EQ(r[kVolume].def, 5);
  EXPECT_EQ(r[kSpeed].min, 10);
  EXPECT_EQ(r[kSpeed].max, 90);
  EXPECT_EQ(r[kSpeed].def, 50);
  EXPECT_EQ(r[kPitch].def, 40);
  EXPECT_EQ(r[kPause].max, 7);
  EXPECT_EQ(r[kCommaPause].min, 2);
  EXPECT_EQ(s.languages[kEnglish].voice.volume, 5);
  EXPECT_EQ(s.languages[kEnglish].voice.commapause, 4);
}

TEST_F(SettingsModelTest, StoredVoiceValuesAreTakenUnclampedInOrder) {
  registry.SetDword(HKCU, Sub(u"English"), u"speed", 999);
  registry.SetDword(HKLM, Sub(u"English"), u"pitch", 77);
  AppSettings s;
  ApplyEngineRanges(s, store, kEnglish, kReport);
  EXPECT_EQ(s.languages[kEnglish].voice.speed, 999);
  EXPECT_EQ(s.languages[kEnglish].voice.pitch, 77);
  EXPECT_EQ(s.languages[kEnglish].voice.volume, 100);
}

TEST_F(SettingsModelTest, OnlyTheLowBitsOfMasksAndHotKeysCount) {
  registry.SetDword(HKCU, kSub, u"UseLanguageSet", 31);
  registry.SetDword(HKCU, kSub, u"HotKeyStop", 0x12340353);
  AppSettings s = Start();
  EXPECT_EQ(s.UseLanguageSet, 31);
  EXPECT_EQ(s.languageEnabled, (std::array<bool, 4>{true, true, true, true}));
  EXPECT_EQ(s.HotKeyStop, 0x0353);

  // No language bit among them names nothing to read in: as if there were no value.
  registry.SetDword(HKCU, kSub, u"UseLanguageSet", 256);
  s = Start();
  EXPECT_EQ(s.UseLanguageSet, 15);
  EXPECT_EQ(s.languageEnabled, (std::array<bool, 4>{true, true, true, true}));
}

TEST_F(SettingsModelTest, ValidateLanguageSettlesOnAnEnabledLanguage) {
  struct Case {
    uint32_t mask;
    int32_t stored;
    int32_t expected;
  };
  const Case cases[] = {
      {2, 0, 1},   // only Chinese
      {5, 7, 0},   // Japanese and English, out of range
      {5, 2, 2},   // already enabled
      {12, 1, 2},  // English and Korean
      {8, -3, 3},
      {0, 2, 2},   // nothing enabled: an index in range is kept
      {0, 7, 0},   // ... one outside is made safe to index with
      {0, -1, 0},
  };
  for (const Case& c : cases) {
    registry.SetDword(HKCU, kSub, u"UseLanguageSet", c.mask);
    registry.SetDword(HKCU, kSub, u"language", static_cast<uint32_t>(c.stored));
    EXPECT_EQ(Start().language, c.expected) << "mask " << c.mask << " stored " << c.stored;
  }
}

TEST_F(SettingsModelTest, MachineWideValuesServeUntilTheUserSaves) {
  registry.SetDword(HKLM, kSub, u"UseLanguageSet", 4);
  AppSettings s = Start();
  EXPECT_EQ(s.language, kEnglish);
  SaveSettings(s, store);
  SaveWindowPosition(s, store);
  EXPECT_FALSE(registry.Has(HKCU, kSub, u"UseLanguageSet"));
  EXPECT_EQ(registry.Dword(HKCU, kSub, u"language"), 2u);
  EXPECT_TRUE(registry.Has(HKCU, Sub(u"English"), u"speed"));
  for (const auto& w : registry.writes) EXPECT_EQ(w.root, HKCU);
}

TEST_F(SettingsModelTest, DisabledLanguagesAreNeitherReadNorWritten) {
  registry.SetDword(HKCU, kSub, u"UseLanguageSet", 4);
  registry.SetDword(HKCU, Sub(u"Chinese"), u"codepage", 3);
  registry.SetDword(HKCU, Sub(u"Korean"), u"ParenthesisCharNumber", 5);
  AppSettings s = Start();
  EXPECT_EQ(s.languages[kChinese].codepage, 0);
  EXPECT_EQ(s.languages[kKorean].voice.ParenthesisCharNumber, 0);
  EXPECT_TRUE(s.languages[kJapanese].UserDicPath.empty());
  registry.writes.clear();
  SaveSettings(s, store);
  for (const auto& w : registry.writes) {
    EXPECT_TRUE(w.subKey == kSub || w.subKey == Sub(u"English"))
        << std::string(w.subKey.begin(), w.subKey.end());
  }
  EXPECT_EQ(registry.Dword(HKCU, Sub(u"Chinese"), u"codepage"), 3u);
}

TEST_F(SettingsModelTest, SaveWritesInItsOrder) {
  AppSettings s = Start();
  registry.writes.clear();
  SaveSettings(s, store);
  std::vector<std::u16string> names;
  for (const auto& w : registry.writes) names.push_back(w.name);
  const std::vector<std::u16string> language{u"speed", u"pitch", u"volume", u"pause", u"commapause"};
  std::vector<std::u16string> expected{u"language",      u"Repeat",        u"Alpha_Min",     u"Alpha_Max",
                                       u"Alpha",         u"HotKeySelRead", u"HotKeyAllRead", u"HotKeyStop",
                                       u"KeepClipboard", u"LanguageByScript", u"QuickCapture"};
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    expected.insert(expected.end(), language.begin(), language.end());
    if (l == kChinese) expected.push_back(u"codepage");
    if (l == kKorean) expected.push_back(u"ParenthesisCharNumber");
    expected.push_back(u"UserDicPath");
  }
  EXPECT_EQ(names, expected);
  EXPECT_EQ(registry.writes[11].subKey, Sub(u"Japanese"));
  EXPECT_EQ(registry.writes.back().subKey, Sub(u"Korean"));
}

TEST_F(SettingsModelTest, EmptyDictionaryPathStaysEmptyAndLongOnesSurvive) {
  registry.SetString(HKCU, Sub(u"Japanese"), u"UserDicPath", u"");
  EXPECT_EQ(Start().languages[kJapanese].UserDicPath, u"");

  AppSettings s = Start();
  const std::u16string longPath = u"D:\\" + std::u16string(250, u'x') + u".csv";
  ASSERT_EQ(longPath.size(), 257u);
  s.languages[kChinese].UserDicPath = longPath;
  SaveSettings(s, store);
  EXPECT_EQ(Start().languages[kChinese].UserDicPath, longPath);
}

// The dictionary editor saves a dictionary it cannot write in place to the user's folder and
// points the language at it while the toolbar runs; the toolbar's own saves must not undo that.
TEST_F(SettingsModelTest, ADictionaryPathTheEditorStoredOutlivesTheToolbarsSaves) {
  const auto stored = [this](LanguageIndex language) {
    return store.AppRegGetStr(LanguageKey(language), u"UserDicPath", u"(none)");
  };
  const std::u16string mended = u"C:\\Users\\u\\AppData\\Roaming\\Brantic\\Ostrel4\\userdict_jpn.csv";
  AppSettings s = Start();
  registry.SetString(HKCU, Sub(u"Japanese"), u"UserDicPath", mended);
  EXPECT_TRUE(SaveSettings(s, store));  // the toolbar closing
  EXPECT_EQ(stored(kJapanese), mended);
  EXPECT_EQ(s.languages[kJapanese].UserDicPath, mended);
  EXPECT_EQ(stored(kEnglish), DefaultUserDicPath(kEnglish, kProgramDir));

  // A path chosen in the settings dialog is the user's word: it stays, even over the editor's.
  s = Start();
  s.languages[kChinese].UserDicPath = u"D:\\chosen.csv";
  registry.SetString(HKCU, Sub(u"Chinese"), u"UserDicPath", u"E:\\editor.csv");
  SaveSettings(s, store);
  EXPECT_EQ(stored(kChinese), u"D:\\chosen.csv");

  // After a save the saved path is the one compared with: a later redirect is taken again.
  registry.SetString(HKCU, Sub(u"Chinese"), u"UserDicPath", u"F:\\again.csv");
  TakeStoredDictionaryPaths(s, store);  // the settings dialog opening
  EXPECT_EQ(s.languages[kChinese].UserDicPath, u"F:\\again.csv");
  EXPECT_EQ(s.languages[kJapanese].UserDicPath, mended);

  // Nothing stored: the default stands and is not taken for a change.
  registry.values.erase({HKCU, Sub(u"Korean"), u"UserDicPath"});
  AppSettings fresh = Start();
  TakeStoredDictionaryPaths(fresh, store);
  EXPECT_EQ(fresh.languages[kKorean].UserDicPath, DefaultUserDicPath(kKorean, kProgramDir));
}

TEST_F(SettingsModelTest, RoundTripKeepsEveryEditedValue) {
  AppSettings s = Start();
  s.language = kKorean;
  s.Repeat = 1;
  s.Alpha = 150;
  s.HotKeySelRead = 0x0641;
  s.x = -20;
  s.y = 1080;
  s.languages[kKorean].voice = {120, 90, 300, 1000, 200, 4};
  s.languages[kChinese].codepage = 2;
  SaveSettings(s, store);
  SaveWindowPosition(s, store);
  const AppSettings t = Start();
  EXPECT_EQ(t.language, kKorean);
  EXPECT_EQ(t.Repeat, 1);
  EXPECT_EQ(t.Alpha, 150);
  EXPECT_EQ(t.HotKeySelRead, 0x0641);
  EXPECT_EQ(t.x, -20);
  EXPECT_EQ(t.y, 1080);
  EXPECT_EQ(t.languages[kKorean].voice.speed, 120);
  EXPECT_EQ(t.languages[kKorean].voice.ParenthesisCharNumber, 4);
  EXPECT_EQ(t.languages[kChinese].codepage, 2);
}

// Each option on its own: a value of one option must never turn on another.
TEST_F(SettingsModelTest, ReadingOptionsAreReadAndSavedEachOnItsOwn) {
  struct Option {
    const char16_t* name;
    int32_t AppSettings::*field;
  };
  const Option options[] = {{u"KeepClipboard", &AppSettings::KeepClipboard},
                            {u"LanguageByScript", &AppSettings::LanguageByScript},
                            {u"QuickCapture", &AppSettings::QuickCapture}};
  for (const Option& on : options) {
    SCOPED_TRACE(std::string(on.name, on.name + std::char_traits<char16_t>::length(on.name)));
    registry.values.clear();
    registry.SetDword(HKCU, kSub, on.name, 1);
    AppSettings s = Start();
    for (const Option& other : options) EXPECT_EQ(s.*other.field, other.field == on.field ? 1 : 0);

    // Turned off and saved, it reads as off; the others are written as they are.
    s.*on.field = 0;
    SaveSettings(s, store);
    for (const Option& other : options) {
      EXPECT_EQ(registry.Dword(HKCU, kSub, other.name), 0u);
      EXPECT_EQ(Start().*other.field, 0);
    }
  }
}

TEST_F(SettingsModelTest, ReadingOptionsFallBackToTheMachineUntilTheUserSaves) {
  registry.SetDword(HKLM, kSub, u"LanguageByScript", 1);
  registry.SetDword(HKLM, kSub, u"QuickCapture", 1);
  registry.SetDword(HKCU, kSub, u"QuickCapture", 0);  // the user's own choice wins
  AppSettings s = Start();
  EXPECT_EQ(s.KeepClipboard, 0);
  EXPECT_EQ(s.LanguageByScript, 1);
  EXPECT_EQ(s.QuickCapture, 0);
  s.KeepClipboard = 1;
  SaveSettings(s, store);
  EXPECT_EQ(registry.Dword(HKCU, kSub, u"KeepClipboard"), 1u);
  EXPECT_EQ(registry.Dword(HKCU, kSub, u"LanguageByScript"), 1u);
  EXPECT_EQ(registry.Dword(HKLM, kSub, u"QuickCapture"), 1u);  // never written
  const AppSettings t = Start();
  EXPECT_EQ(t.KeepClipboard, 1);
  EXPECT_EQ(t.LanguageByScript, 1);
  EXPECT_EQ(t.QuickCapture, 0);
}

TEST(HotKeyModifiersTest, ConvertsControlFlagsToRegistrationModifiers) {
  struct Case {
    uint16_t word;
    uint32_t modifiers;
    uint32_t key;
  };
  const Case cases[] = {
      {0x0250, 2, 0x50}, {0x0350, 6, 0x50}, {0x0353, 6, 0x53}, {0x0C41, 1, 0x41},
      {0x0441, 1, 0x41}, {0x0741, 7, 0x41}, {0x0000, 0, 0x00}, {0x0070, 0, 0x70},
  };
  for (const Case& c : cases) {
    const HotKeyRegistration r = HotKeyModifiers(c.word);
    EXPECT_EQ(r.modifiers, c.modifiers) << std::hex << c.word;
    EXPECT_EQ(r.virtualKey, c.key) << std::hex << c.word;
  }
}

TEST_F(SettingsModelTest, AutoCheckReadsTheMachineFlag) {
  EXPECT_EQ(ReadAutoCheck(store), u"0");
  registry.SetString(HKLM, u"SOFTWARE\\BRANTIC\\Ostrel4\\AppUpdate", u"AutoChk", u"1");
  EXPECT_EQ(ReadAutoCheck(store), u"1");
}

}  // namespace
}  // namespace ostrel
