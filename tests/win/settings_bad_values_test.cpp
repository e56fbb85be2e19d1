// Registry values this program never wrote, stored in Wine's real registry: the reader must
// not overflow or misread them, the toolbar must start with defaults for them, and closing it
// must write sound values back in their place and nothing else.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/registry_store.h"
#include "settings/registry_win32.h"
#include "toolbar_fixture.h"

namespace ostrel {
namespace {

using testing::kSettingsKey;
using testing::StoredDword;

constexpr wchar_t kTestKey[] = L"Software\\OstrelTests\\BadValues";
const std::u16string kUser = u"HKEY_CURRENT_USER\\Software\\OstrelTests\\BadValues";

void Store(HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD size) {
  ASSERT_EQ(RegSetKeyValueW(root, key, name, type, data, size), ERROR_SUCCESS) << name;
}

void StoreText(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
  Store(root, key, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// The type and data as the registry holds them now.
struct Raw {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  bool found = false;
};
Raw Read(HKEY root, const wchar_t* key, const wchar_t* name) {
  Raw raw;
  DWORD size = 0;
  if (RegGetValueW(root, key, name, RRF_RT_ANY | RRF_NOEXPAND, &raw.type, nullptr, &size) != ERROR_SUCCESS) {
    return raw;
  }
  raw.data.resize(size);
  raw.found = RegGetValueW(root, key, name, RRF_RT_ANY | RRF_NOEXPAND, &raw.type, raw.data.data(), &size) ==
              ERROR_SUCCESS;
  raw.data.resize(size);
  return raw;
}

class BadRegistryValuesWin32 : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\OstrelTests");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\OstrelTests");
  }
  Win32Registry registry;
  RegistryStore store{registry};
};

TEST_F(BadRegistryValuesWin32, ValuesOfTheWrongTypeOrSizeReadAsMissing) {
  const DWORD dword = 120;
  const unsigned long long qword = 120;
  const WORD word = 120;
  const std::vector<BYTE> big(1024 * 1024, 0x41);
  Store(HKEY_CURRENT_USER, kTestKey, L"text", REG_SZ, L"120", 8);
  Store(HKEY_CURRENT_USER, kTestKey, L"binary", REG_BINARY, &dword, sizeof dword);
  Store(HKEY_CURRENT_USER, kTestKey, L"qword", REG_QWORD, &qword, sizeof qword);
  Store(HKEY_CURRENT_USER, kTestKey, L"short", REG_DWORD, &word, sizeof word);
  Store(HKEY_CURRENT_USER, kTestKey, L"huge", REG_BINARY, big.data(), static_cast<DWORD>(big.size()));
  Store(HKEY_CURRENT_USER, kTestKey, L"good", REG_DWORD, &dword, sizeof dword);
  for (const char16_t* name : {u"text", u"binary", u"qword", u"short", u"huge"}) {
    EXPECT_EQ(store.AppRegGetInt(kUser, name, -7), -7) << static_cast<char>(name[0]);
  }
  EXPECT_EQ(store.AppRegGetInt(kUser, u"good", -7), 120);
  EXPECT_EQ(store.AppRegGetStr(kUser, u"good", u"default"), u"default");
  EXPECT_EQ(store.AppRegGetStr(kUser, u"huge", u"default"), u"default");

  const std::wstring tooLong = L"C:\\" + std::wstring(293, L'd') + L".csv";
  ASSERT_EQ(tooLong.size(), 300u);
  StoreText(HKEY_CURRENT_USER, kTestKey, L"UserDicPath", tooLong);
  EXPECT_EQ(store.AppRegGetStr(kUser, u"UserDicPath", u"default"), u"default");
  StoreText(HKEY_LOCAL_MACHINE, kTestKey, L"UserDicPath", L"D:\\machine.csv");
  EXPECT_EQ(store.AppRegGetStr(kUser, u"UserDicPath", u"default"), u"D:\\machine.csv");
  StoreText(HKEY_CURRENT_USER, kTestKey, L"UserDicPath", L"%APPDATA%\\dic.csv", REG_EXPAND_SZ);
  EXPECT_EQ(store.AppRegGetStr(kUser, u"UserDicPath", u"default"), u"%APPDATA%\\dic.csv");
}

using BadRegistryValuesAtStart = testing::ToolbarFixture;

TEST_F(BadRegistryValuesAtStart, TheToolbarStartsWithDefaultsAndClosingRepairsOnlyWhatWasBad) {
  const std::wstring japanese = std::wstring(kSettingsKey) + L"\\Japanese";
  const std::wstring english = std::wstring(kSettingsKey) + L"\\English";
  const DWORD repeat = 7;
  const DWORD farAway = 0x7FFFFFFF;
  const DWORD minimum = 200;
  const DWORD maximum = 100;
  const DWORD mask = 0x105;  // Japanese and English, and a bit that names nothing
  const unsigned long long qword = 150;
  const DWORD pitch = 120;  // sound: kept
  const BYTE binary[] = {1, 2, 3};
  StoreText(HKEY_CURRENT_USER, kSettingsKey, L"Alpha", L"200");
  Store(HKEY_CURRENT_USER, kSettingsKey, L"Repeat", REG_DWORD, &repeat, sizeof repeat);
  Store(HKEY_CURRENT_USER, kSettingsKey, L"x", REG_DWORD, &farAway, sizeof farAway);
  Store(HKEY_CURRENT_USER, kSettingsKey, L"Alpha_Min", REG_DWORD, &minimum, sizeof minimum);
  Store(HKEY_CURRENT_USER, kSettingsKey, L"Alpha_Max", REG_DWORD, &maximum, sizeof maximum);
  Store(HKEY_CURRENT_USER, kSettingsKey, L"UseLanguageSet", REG_DWORD, &mask, sizeof mask);
  Store(HKEY_CURRENT_USER, kSettingsKey, L"HotKeyStop", REG_BINARY, binary, sizeof binary);
  Store(HKEY_CURRENT_USER, english.c_str(), L"speed", REG_QWORD, &qword, sizeof qword);
  Store(HKEY_CURRENT_USER, english.c_str(), L"pitch", REG_DWORD, &pitch, sizeof pitch);
  StoreText(HKEY_CURRENT_USER, japanese.c_str(), L"UserDicPath", L"C:\\" + std::wstring(293, L'x') + L".csv");

  const HWND window = Open();
  ASSERT_TRUE(IsWindow(window));
  EXPECT_TRUE(boxes.empty());
  const AppSettings& s = toolbar->settings();
  EXPECT_EQ(toolbar->currentAlpha(), 255);
  EXPECT_EQ(s.Repeat, 0);
  EXPECT_EQ(toolbar->buttons().Variant(Command::Repeat), 0);
  EXPECT_EQ(s.Alpha_Min, 55);
  EXPECT_EQ(s.Alpha_Max, 255);
  EXPECT_EQ(s.HotKeyStop, 0x0353);
  EXPECT_EQ(s.languageEnabled, (std::array<bool, 4>{true, false, true, false}));
  EXPECT_EQ(s.languages[kEnglish].voice.speed, 100);
  EXPECT_EQ(s.languages[kEnglish].voice.pitch, 120);
  EXPECT_EQ(engine.Calls("StartLanguage"), (std::vector<std::string>{"StartLanguage 1", "StartLanguage 3"}));
  // The engine is given the default dictionary, not a path cut short.
  const auto dictionaries = engine.Calls("SetUserDictionary");
  ASSERT_EQ(dictionaries.size(), 2u);
  EXPECT_NE(dictionaries[0].find("userdict_jpn.csv"), std::string::npos) << dictionaries[0];
  // A position no screen has: the toolbar is brought onto one.
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_TRUE(MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr);

  SendMessageW(window, WM_CLOSE, 0, 0);
  testing::PumpMessages();
  EXPECT_EQ(StoredDword(L"Alpha"), 255u);
  EXPECT_EQ(StoredDword(L"Repeat"), 0u);
  EXPECT_EQ(StoredDword(L"Alpha_Min"), 55u);
  EXPECT_EQ(StoredDword(L"Alpha_Max"), 255u);
  EXPECT_EQ(StoredDword(L"HotKeyStop"), 0x0353u);
  EXPECT_LE(static_cast<LONG>(StoredDword(L"x")), 32767);
  const Raw speed = Read(HKEY_CURRENT_USER, english.c_str(), L"speed");
  EXPECT_EQ(speed.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(speed.data, (std::vector<BYTE>{100, 0, 0, 0}));
  EXPECT_EQ(Read(HKEY_CURRENT_USER, english.c_str(), L"pitch").data, (std::vector<BYTE>{120, 0, 0, 0}));
  const Raw path = Read(HKEY_CURRENT_USER, japanese.c_str(), L"UserDicPath");
  EXPECT_EQ(path.type, static_cast<DWORD>(REG_SZ));
  EXPECT_LT(path.data.size(), 600u);
  // Never written by the program, so left exactly as it was.
  EXPECT_EQ(StoredDword(L"UseLanguageSet"), 0x105u);
  EXPECT_FALSE(Read(HKEY_CURRENT_USER, (std::wstring(kSettingsKey) + L"\\Chinese").c_str(), L"speed").found);
}

}  // namespace
}  // namespace ostrel
