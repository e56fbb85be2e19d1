#include "settings/registry_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "settings/registry_store.h"

namespace ostrel {
namespace {

// A key of the tests' own under both roots, removed before and after each test.
constexpr wchar_t kTestKey[] = L"Software\\OstrelTests\\Registry";
const std::u16string kUser = u"HKEY_CURRENT_USER\\Software\\OstrelTests\\Registry";
const std::u16string kMachine = u"HKEY_LOCAL_MACHINE\\Software\\OstrelTests\\Registry";

bool ValueExists(HKEY root, const wchar_t* name) {
  return RegGetValueW(root, kTestKey, name, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\OstrelTests");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\OstrelTests");
  }
  static void SetMachineDword(const wchar_t* name, DWORD value) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, kTestKey, name, REG_DWORD, &value, sizeof value), ERROR_SUCCESS);
  }

  Win32Registry registry;
  RegistryStore store{registry};
};

TEST_F(Win32RegistryTest, IntegersRoundTripAndFallBackToTheMachine) {
  EXPECT_EQ(store.AppRegGetInt(kUser, u"Alpha", 255), 255);
  SetMachineDword(L"Alpha", 120);
  EXPECT_EQ(store.AppRegGetInt(kUser, u"Alpha", 255), 120);
  ASSERT_EQ(store.AppRegSetInt(kUser, u"Alpha", -7), 1);
  EXPECT_EQ(store.AppRegGetInt(kUser, u"Alpha", 255), -7);
  EXPECT_EQ(store.AppRegGetInt(u"[" + kUser + u"]", u"Alpha", 255), -7);

  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kTestKey, L"Alpha", RRF_RT_ANY, &type, &value, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(value, 0xFFFFFFF9u);
}

TEST_F(Win32RegistryTest, WritesNeverReachTheMachine) {
  ASSERT_EQ(store.AppRegSetInt(kUser, u"x", 10), 1);
  ASSERT_EQ(store.AppRegSetStr(kUser, u"C:\\dic.csv"), 1);
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, L"x"));
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, L"UserDicPath"));
  EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, L"x"));
  EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, L"UserDicPath"));
}

TEST_F(Win32RegistryTest, TextsOfUpTo259CharactersReadBackWhole) {
  const std::u16string longest = u"C:\\" + std::u16string(252, u'd') + u".csv";
  ASSERT_EQ(longest.size(), 259u);
  ASSERT_EQ(store.AppRegSetStr(kUser, longest), 1);
  EXPECT_EQ(store.AppRegGetStr(kUser, u"UserDicPath", u"default"), longest);

  // Beyond the read buffer the value counts as missing rather than being cut short.
  ASSERT_EQ(store.AppRegSetStr(kUser, longest + u"x"), 1);
  EXPECT_EQ(store.AppRegGetStr(kUser, u"UserDicPath", u"default"), u"default");

  ASSERT_EQ(store.AppRegSetStr(kUser, u""), 1);
  EXPECT_EQ(store.AppRegGetStr(kUser, u"UserDicPath", u"default"), u"");

  const std::u16string japanese = u"C:\\ユーザー\\辞書.csv";
  ASSERT_EQ(store.AppRegSetStr(kUser, japanese), 1);
  EXPECT_EQ(store.AppRegGetStr(kUser, u"UserDicPath", u"default"), japanese);
}

TEST_F(Win32RegistryTest, TextReadAsIntegerIsNoNumber) {
  ASSERT_EQ(store.AppRegSetStr(kUser, u"1"), 1);
  EXPECT_EQ(store.AppRegGetInt(kUser, u"UserDicPath", 0), 0);
  SetMachineDword(L"UserDicPath", 12);
  EXPECT_EQ(store.AppRegGetInt(kUser, u"UserDicPath", 0), 12);
}

TEST_F(Win32RegistryTest, UnknownRootReadsTheDefaultAndWritesNothing) {
  EXPECT_EQ(store.AppRegGetInt(u"HKCU\\Software\\OstrelTests\\Registry", u"v", 42), 42);
  EXPECT_EQ(store.AppRegSetInt(u"HKCU\\Software\\OstrelTests\\Registry", u"v", 1), 0);
  EXPECT_EQ(store.AppRegSetStr(u"Software\\OstrelTests\\Registry", u"t"), 0);
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(Win32RegistryTest, PathWithoutBackslashIsASubKeyOfThatName) {
  ASSERT_EQ(store.AppRegSetInt(u"HKEY_CURRENT_USER", u"OstrelTestValue", 3), 1);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  RegDeleteTreeW(HKEY_CURRENT_USER, L"HKEY_CURRENT_USER");
}

}  // namespace
}  // namespace ostrel
