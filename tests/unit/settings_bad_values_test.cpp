// Registry values that this program never wrote: wrong types, short data, numbers no setting
// can hold, masks without a language, texts too long to read back. Each must read as missing
// (the machine-wide value, else the default) and the next save must write a sound value.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory_registry.h"
#include "settings_start.h"
#include "settings/registry_store.h"
#include "settings/settings_model.h"

namespace ostrel {
namespace {

using testing::MemoryRegistry;
constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKCU = RegistryRoot::CurrentUser;
const std::u16string kPath = u"HKEY_CURRENT_USER\\Software\\Brantic\\Ostrel4";
const std::u16string kSub = u"Software\\Brantic\\Ostrel4";
const std::u16string kProgramDir = u"C:\\Ostrel\\";
const EngineReport kReport{500, 0, 100, 50, 250, 100, 50, 200, 100, 0, 65535, 800, 0, 65535, 300};

std::u16string Sub(const char16_t* language) { return kSub + u"\\" + language; }

std::vector<uint8_t> Le(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

class BadRegistryValues : public ::testing::Test {
 protected:
  AppSettings Start() { return testing::StartSettings(store, kProgramDir, kReport); }

  MemoryRegistry registry;
  RegistryStore store{registry};
};

// --- Values of the wrong type where a number belongs ---

TEST_F(BadRegistryValues, OnlyAFourByteDwordIsANumber) {
  struct Row {
    const char* what;
    uint32_t type;
    std::vector<uint8_t> data;
    int32_t read;
  };
  const std::vector<Row> rows = {
      {"DWORD", kRegDword, Le(120), 120},
      {"big-endian DWORD", kRegDwordBigEndian, {0, 0, 0, 120}, 120},
      {"text \"120\"", kRegSz, {'1', 0, '2', 0, '0', 0, 0, 0}, 255},
      {"expandable text", kRegExpandSz, {'9', 0, 0, 0}, 255},
      {"binary of four bytes", kRegBinary, Le(120), 255},
      {"QWORD", kRegQword, {120, 0, 0, 0, 0, 0, 0, 0}, 255},
      {"DWORD of two bytes", kRegDword, {120, 0}, 255},
      {"DWORD of eight bytes", kRegDword, {120, 0, 0, 0, 1, 0, 0, 0}, 255},
      {"DWORD without data", kRegDword, {}, 255},
      {"no type, four bytes", kRegNone, Le(120), 255},
      {"multi-string", kRegMultiSz, {'1', 0, 0, 0, 0, 0}, 255},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    registry.values.clear();
    registry.Set(HKCU, kSub, u"Alpha", row.type, row.data);
    EXPECT_EQ(Start().Alpha, row.read);
    // What the user's value cannot give, the machine's can.
    registry.SetDword(HKLM, kSub, u"Alpha", 90);
    EXPECT_EQ(Start().Alpha, row.read == 255 ? 90 : row.read);
  }
}

TEST_F(BadRegistryValues, AReadingOptionOfTheWrongTypeIsOff) {
  // A text "1", a QWORD 1 and a one-byte 1 all look like "on" to a careless reader.
  const std::vector<std::vector<uint8_t>> data = {{'1', 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0}, {1}};
  const uint32_t types[] = {kRegSz, kRegQword, kRegDword};
  for (const char16_t* name : {u"KeepClipboard", u"LanguageByScript", u"QuickCapture"}) {
    for (size_t i = 0; i < data.size(); ++i) {
      SCOPED_TRACE(Narrow(name) + " row " + std::to_string(i));
      registry.values.clear();
      registry.Set(HKCU, kSub, name, types[i], data[i]);
      const AppSettings s = Start();
      EXPECT_EQ(s.KeepClipboard + s.LanguageByScript + s.QuickCapture, 0);
      // The machine's sound value serves instead.
      registry.SetDword(HKLM, kSub, name, 1);
      const AppSettings m = Start();
      EXPECT_EQ(m.KeepClipboard + m.LanguageByScript + m.QuickCapture, 1);
    }
  }
}

TEST_F(BadRegistryValues, AMachineValueOfTheWrongTypeFallsThroughToTheDefault) {
  registry.Set(HKCU, kSub, u"HotKeyStop", kRegBinary, {1, 2});
  registry.Set(HKLM, kSub, u"HotKeyStop", kRegSz, {'S', 0, 0, 0});
  EXPECT_EQ(Start().HotKeyStop, 0x0353);
}

// --- Numbers of the right type that no setting can hold ---

TEST_F(BadRegistryValues, NumbersOutsideWhatASettingCanHoldReadAsMissing) {
  struct Row {
    const char16_t* key;
    const char16_t* name;
    int32_t stored;
    int32_t read;
  };
  // read: what the setting holds afterwards; the defaults are 0, 55, 255, 255, engine 100/800/300.
  const std::vector<Row> rows = {
      {u"", u"Repeat", 1, 1},
      {u"", u"Repeat", 2, 0},
      {u"", u"Repeat", -1, 0},
      {u"", u"KeepClipboard", 1, 1},
      {u"", u"KeepClipboard", 2, 0},
      {u"", u"KeepClipboard", -1, 0},
      {u"", u"LanguageByScript", 1, 1},
      {u"", u"LanguageByScript", 0x101, 0},  // its low byte alone would say on
      {u"", u"LanguageByScript", INT32_MIN, 0},
      {u"", u"QuickCapture", 1, 1},
      {u"", u"QuickCapture", 255, 0},
      {u"", u"QuickCapture", INT32_MAX, 0},
      {u"", u"Alpha", 0, 0},
      {u"", u"Alpha", 256, 255},
      {u"", u"Alpha", -1, 255},
      {u"", u"Alpha", INT32_MIN, 255},
      {u"", u"Alpha_Min", 255, 255},
      {u"", u"Alpha_Min", 300, 55},
      {u"", u"Alpha_Max", -5, 255},
      {u"", u"x", -32768, -32768},
      {u"", u"x", 32767, 32767},
      {u"", u"x", INT32_MAX, 0},
      {u"", u"y", -32769, 0},
      {u"Chinese", u"codepage", 3, 3},
      {u"Chinese", u"codepage", 4, 0},
      {u"Chinese", u"codepage", -1, 0},
      {u"English", u"speed", 999, 999},  // above the engine's range, yet a speed
      {u"English", u"speed", -1, 100},
      {u"English", u"volume", 65536, 100},
      {u"English", u"pause", 65535, 65535},
      {u"English", u"pause", INT32_MAX, 800},
      {u"English", u"commapause", -300, 300},
      {u"Korean", u"ParenthesisCharNumber", -4, -4},  // the engine reads nothing in parentheses then
  };
  for (const Row& row : rows) {
    const std::u16string key = *row.key ? Sub(row.key) : kSub;
    SCOPED_TRACE(Narrow(key + u"\\" + row.name) + " = " + std::to_string(row.stored));
    registry.values.clear();
    registry.SetDword(HKCU, key, row.name, static_cast<uint32_t>(row.stored));
    const AppSettings s = Start();
    const std::u16string name = row.name;
    const LanguageSettings& chinese = s.languages[kChinese];
    const LanguageSettings& english = s.languages[kEnglish];
    const int32_t read = name == u"Repeat"                  ? s.Repeat
                         : name == u"KeepClipboard"         ? s.KeepClipboard
                         : name == u"LanguageByScript"      ? s.LanguageByScript
                         : name == u"QuickCapture"          ? s.QuickCapture
                         : name == u"Alpha"                 ? s.Alpha
                         : name == u"Alpha_Min"             ? s.Alpha_Min
                         : name == u"Alpha_Max"             ? s.Alpha_Max
                         : name == u"x"                     ? s.x
                         : name == u"y"                     ? s.y
                         : name == u"codepage"              ? chinese.codepage
                         : name == u"speed"                 ? english.voice.speed
                         : name == u"volume"                ? english.voice.volume
                         : name == u"pause"                 ? english.voice.pause
                         : name == u"commapause"            ? english.voice.commapause
                         : name == u"ParenthesisCharNumber" ? s.languages[kKorean].voice.ParenthesisCharNumber
                                                            : -12345;
    EXPECT_EQ(read, row.read);
  }
}

TEST_F(BadRegistryValues, OpacityEndsTheWrongWayRoundAreBothReset) {
  registry.SetDword(HKCU, kSub, u"Alpha_Min", 200);
  registry.SetDword(HKCU, kSub, u"Alpha_Max", 100);
  registry.SetDword(HKCU, kSub, u"Alpha", 150);
  AppSettings s = Start();
  EXPECT_EQ(s.Alpha_Min, 55);
  EXPECT_EQ(s.Alpha_Max, 255);
  EXPECT_EQ(s.Alpha, 150);

  // One end unusable: the other, sound, is kept as long as the pair stays in order.
  registry.SetDword(HKCU, kSub, u"Alpha_Min", 0xFFFFFFFF);
  s = Start();
  EXPECT_EQ(s.Alpha_Min, 55);
  EXPECT_EQ(s.Alpha_Max, 100);
}

// --- The language mask ---

TEST_F(BadRegistryValues, UnknownLanguageBitsAreIgnoredAndAMaskWithoutALanguageIsMissing) {
  struct Row {
    uint32_t stored;
    std::array<bool, 4> enabled;
  };
  const Row rows[] = {
      {0x15, {true, false, true, false}},  // bit 4 names nothing
      {0xF2, {false, true, false, false}},
      {0x10000008, {false, false, false, true}},
      {0x00, {true, true, true, true}},
      {0xF0, {true, true, true, true}},
      {0xFFFFFF00, {true, true, true, true}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.stored);
    registry.SetDword(HKCU, kSub, u"UseLanguageSet", row.stored);
    const AppSettings s = Start();
    EXPECT_EQ(s.languageEnabled, row.enabled);
    EXPECT_TRUE(s.languageEnabled[static_cast<size_t>(s.language)]);
  }
  // A mask without a language gives way to the machine's.
  registry.SetDword(HKCU, kSub, u"UseLanguageSet", 0x30);
  registry.SetDword(HKLM, kSub, u"UseLanguageSet", 4);
  EXPECT_EQ(Start().languageEnabled, (std::array<bool, 4>{false, false, true, false}));
}

// --- Texts where a path belongs ---

TEST_F(BadRegistryValues, DictionaryPathsThatCannotBeReadGiveTheDefault) {
  const std::u16string japanese = Sub(u"Japanese");
  const std::u16string fallback = DefaultUserDicPath(kJapanese, kProgramDir);
  struct Row {
    const char* what;
    uint32_t type;
    std::vector<uint8_t> data;
    std::u16string read;
  };
  const std::u16string longest = u"D:\\" + std::u16string(252, u'x') + u".csv";  // 259 characters
  const std::u16string tooLong = u"D:\\" + std::u16string(293, u'x') + u".csv";  // 300 characters
  const std::vector<Row> rows = {
      {"259 characters", kRegSz, MemoryRegistry::StringData(longest, true), longest},
      {"300 characters", kRegSz, MemoryRegistry::StringData(tooLong, true), fallback},
      {"300 characters, no terminator", kRegSz, MemoryRegistry::StringData(tooLong, false), fallback},
      {"expandable text", kRegExpandSz, MemoryRegistry::StringData(u"%APPDATA%\\d.csv", true), u"%APPDATA%\\d.csv"},
      {"odd byte count", kRegSz, {'a', 0, 'b'}, u"a"},
      {"DWORD", kRegDword, Le(0x430043), fallback},
      {"binary", kRegBinary, MemoryRegistry::StringData(u"C:\\d.csv", true), fallback},
      {"multi-string", kRegMultiSz, {'a', 0, 0, 0, 0, 0}, fallback},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    registry.values.clear();
    registry.Set(HKCU, japanese, u"UserDicPath", row.type, row.data);
    EXPECT_EQ(Start().languages[kJapanese].UserDicPath, row.read);
  }
  registry.Set(HKCU, japanese, u"UserDicPath", kRegSz, MemoryRegistry::StringData(tooLong, true));
  registry.SetString(HKLM, japanese, u"UserDicPath", u"E:\\machine.csv");
  EXPECT_EQ(Start().languages[kJapanese].UserDicPath, u"E:\\machine.csv");
}

TEST_F(BadRegistryValues, TheUpdateFlagOfTheWrongTypeMeansNoUpdateCheck) {
  const std::u16string update = u"SOFTWARE\\BRANTIC\\Ostrel4\\AppUpdate";
  registry.Set(HKLM, update, u"AutoChk", kRegDword, Le(1));
  EXPECT_EQ(ReadAutoCheck(store), u"0");
  registry.SetString(HKLM, update, u"AutoChk", u"1");
  EXPECT_EQ(ReadAutoCheck(store), u"1");
}

// --- What the next save makes of them ---

TEST_F(BadRegistryValues, TheSaveWritesSoundValuesWhereBadOnesWereAndLeavesTheRestAlone) {
  registry.Set(HKCU, kSub, u"Alpha", kRegSz, {'2', 0, 0, 0});
  registry.SetDword(HKCU, kSub, u"Repeat", 7);
  registry.SetDword(HKCU, kSub, u"QuickCapture", 7);
  registry.SetDword(HKCU, kSub, u"KeepClipboard", 1);  // sound: kept
  registry.SetDword(HKCU, kSub, u"Alpha_Min", 40);  // sound: kept as it is
  registry.SetDword(HKCU, kSub, u"UseLanguageSet", 0x1C);  // Chinese unset: not written
  registry.Set(HKCU, Sub(u"English"), u"speed", kRegQword, {1, 0, 0, 0, 0, 0, 0, 0});
  registry.SetDword(HKCU, Sub(u"Korean"), u"pause", 0x80000000);
  registry.Set(HKCU, Sub(u"Korean"), u"UserDicPath", kRegBinary, {1, 2, 3});
  registry.SetDword(HKCU, Sub(u"Chinese"), u"codepage", 99);  // disabled: neither read nor written
  registry.SetDword(HKLM, kSub, u"Alpha", 0xFFFF);

  AppSettings s = Start();
  registry.writes.clear();
  SaveSettings(s, store);
  SaveWindowPosition(s, store);

  EXPECT_EQ(registry.Dword(HKCU, kSub, u"Alpha"), 255u);
  EXPECT_EQ(registry.Dword(HKCU, kSub, u"Repeat"), 0u);
  EXPECT_EQ(registry.Dword(HKCU, kSub, u"QuickCapture"), 0u);
  EXPECT_EQ(registry.Dword(HKCU, kSub, u"KeepClipboard"), 1u);
  EXPECT_EQ(registry.Dword(HKCU, kSub, u"LanguageByScript"), 0u);
  EXPECT_EQ(registry.Dword(HKCU, kSub, u"Alpha_Min"), 40u);
  EXPECT_EQ(registry.Dword(HKCU, Sub(u"English"), u"speed"), 100u);
  EXPECT_EQ(registry.Dword(HKCU, Sub(u"Korean"), u"pause"), 800u);
  const RegistryValue& path = registry.values[{HKCU, Sub(u"Korean"), u"UserDicPath"}];
  EXPECT_EQ(path.type, kRegSz);
  EXPECT_EQ(TextOfValue(path.type, path.data), DefaultUserDicPath(kKorean, kProgramDir));
  // Never written by the program: the stored values stay as they were.
  EXPECT_EQ(registry.Dword(HKCU, kSub, u"UseLanguageSet"), 0x1Cu);
  EXPECT_EQ(registry.Dword(HKCU, Sub(u"Chinese"), u"codepage"), 99u);
  EXPECT_EQ(registry.Dword(HKLM, kSub, u"Alpha"), 0xFFFFu);
  for (const auto& w : registry.writes) {
    EXPECT_EQ(w.root, HKCU);
    EXPECT_NE(w.subKey, Sub(u"Chinese"));
  }

  // Started again from what was saved, nothing needs repairing.
  const AppSettings again = Start();
  EXPECT_EQ(again.Alpha, s.Alpha);
  EXPECT_EQ(again.Repeat, s.Repeat);
  EXPECT_EQ(again.languages[kEnglish].voice.speed, s.languages[kEnglish].voice.speed);
  EXPECT_EQ(again.languages[kKorean].UserDicPath, s.languages[kKorean].UserDicPath);
}

}  // namespace
}  // namespace ostrel
