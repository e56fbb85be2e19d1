#include "settings/registry_store.h"

#include <gtest/gtest.h>

#include "memory_registry.h"

namespace ostrel {
namespace {

using testing::MemoryRegistry;
constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKCU = RegistryRoot::CurrentUser;
const std::u16string kPath = u"HKEY_CURRENT_USER\\Software\\Brantic\\Ostrel4";
const std::u16string kSub = u"Software\\Brantic\\Ostrel4";

TEST(SplitKeyPath, RootsBracketsAndSubKeys) {
  struct Case {
    std::u16string path;
    RegistryRoot root;
    std::u16string subKey;
  };
  const Case cases[] = {
      {kPath, HKCU, kSub},
      {u"[" + kPath + u"]", HKCU, kSub},
      {kPath + u"]", HKCU, kSub + u"]"},  // a lone bracket is part of the name
      {u"[" + kPath, HKCU, kSub},
      {u"HKEY_LOCAL_MACHINE\\Software", HKLM, u"Software"},
      {u"HKEY_CLASSES_ROOT\\.csv", RegistryRoot::ClassesRoot, u".csv"},
      // the later root name in the search order wins, wherever it stands
      {u"HKEY_CURRENT_USER\\HKEY_LOCAL_MACHINE\\x", HKCU, u"HKEY_LOCAL_MACHINE\\x"},
      {u"HKEY_LOCAL_MACHINE\\HKEY_CURRENT_USER", HKCU, u"HKEY_CURRENT_USER"},
      {u"HKEY_CURRENT_USER", HKCU, u"HKEY_CURRENT_USER"},  // no backslash: the whole path is the sub-key
      {u"HKCU\\Software", RegistryRoot::None, u"Software"},
      {u"HKEY_USERS\\x", RegistryRoot::None, u"x"},
      {u"hkey_current_user\\x", RegistryRoot::None, u"x"},
      {u"", RegistryRoot::None, u""},
      {u"[]", RegistryRoot::None, u""},
  };
  for (const Case& c : cases) {
    const KeyPath key = SplitKeyPath(c.path);
    EXPECT_EQ(key.root, c.root) << std::string(c.path.begin(), c.path.end());
    EXPECT_EQ(key.subKey, c.subKey) << std::string(c.path.begin(), c.path.end());
  }
}

class RegistryStoreTest : public ::testing::Test {
 protected:
  MemoryRegistry registry;
  RegistryStore store{registry};
};

TEST_F(RegistryStoreTest, ReadsFallBackToMachineThenDefault) {
  EXPECT_EQ(store.AppRegGetInt(kPath, u"Alpha", 255), 255);
  registry.SetDword(HKLM, kSub, u"Alpha", 120);
  EXPECT_EQ(store.AppRegGetInt(kPath, u"Alpha", 255), 120);
  registry.SetDword(HKCU, kSub, u"Alpha", 80);
  EXPECT_EQ(store.AppRegGetInt(kPath, u"Alpha", 255), 80);

  registry.SetString(HKLM, kSub, u"UserDicPath", u"C:\\machine.csv");
  EXPECT_EQ(store.AppRegGetStr(kPath, u"UserDicPath", u"default"), u"C:\\machine.csv");
  EXPECT_EQ(store.AppRegGetStr(kPath, u"Missing", u"default"), u"default");
}

TEST_F(RegistryStoreTest, MachinePathsAndUnknownRootsDoNotFallBack) {
  registry.SetDword(HKCU, kSub, u"v", 7);
  EXPECT_EQ(store.AppRegGetInt(u"HKEY_LOCAL_MACHINE\\Software\\Brantic\\Ostrel4", u"v", -1), -1);
  EXPECT_EQ(store.AppRegGetInt(u"HKCU\\Software\\Brantic\\Ostrel4", u"v", -1), -1);
  EXPECT_EQ(registry.queries, 1);  // the unknown root never reaches the registry
}

TEST_F(RegistryStoreTest, BracketedPathReadsTheSameKeyAndFallsBackInsideBrackets) {
  registry.SetDword(HKLM, kSub, u"x", 3);
  EXPECT_EQ(store.AppRegGetInt(u"[" + kPath + u"]", u"x", 0), 3);
  registry.SetDword(HKCU, kSub, u"x", 4);
  EXPECT_EQ(store.AppRegGetInt(u"[" + kPath + u"]", u"x", 0), 4);
  EXPECT_EQ(store.AppRegGetInt(kPath + u"]", u"x", 0), 0);  // names the key "...Ostrel4]"
}

TEST_F(RegistryStoreTest, PathNamingBothRootsUsesCurrentUserAndFallsBackToMachine) {
  const std::u16string both = u"HKEY_LOCAL_MACHINE\\HKEY_CURRENT_USER\\k";
  registry.SetDword(HKCU, u"HKEY_CURRENT_USER\\k", u"v", 5);
  EXPECT_EQ(store.AppRegGetInt(both, u"v", 0), 5);
  registry.values.clear();
  // Fallback replaces every occurrence: the path becomes HKLM\HKEY_LOCAL_MACHINE\k.
  registry.SetDword(HKLM, u"HKEY_LOCAL_MACHINE\\k", u"v", 6);
  EXPECT_EQ(store.AppRegGetInt(both, u"v", 0), 6);
}

// Only what a DWORD holds is a number: the text "1" is not 0x31, two bytes are not half a number.
TEST_F(RegistryStoreTest, IntegerReadTakesOnlyFourByteDwords) {
  registry.SetString(HKCU, kSub, u"n", u"1");
  EXPECT_EQ(store.AppRegGetInt(kPath, u"n", 7), 7);
  registry.Set(HKCU, kSub, u"short", kRegDword, {0x34, 0x12});
  EXPECT_EQ(store.AppRegGetInt(kPath, u"short", -1), -1);
  registry.SetDword(HKCU, kSub, u"neg", 0xFFFFFFFE);
  EXPECT_EQ(store.AppRegGetInt(kPath, u"neg", 0), -2);
}

TEST_F(RegistryStoreTest, TextsUpTo259CharactersReadBackWhole) {
  const std::u16string longest(259, u'a');
  ASSERT_EQ(store.AppRegSetStr(kPath, longest), 1);
  EXPECT_EQ(store.AppRegGetStr(kPath, u"UserDicPath", u"default"), longest);

  const std::u16string tooLong(260, u'b');
  ASSERT_EQ(store.AppRegSetStr(kPath, tooLong), 1);
  EXPECT_EQ(store.AppRegGetStr(kPath, u"UserDicPath", u"default"), u"default");
  registry.SetString(HKLM, kSub, u"UserDicPath", u"machine");
  EXPECT_EQ(store.AppRegGetStr(kPath, u"UserDicPath", u"default"), u"machine");
}

TEST_F(RegistryStoreTest, EmptyAndUnterminatedTexts) {
  store.AppRegSetStr(kPath, u"");
  EXPECT_EQ(store.AppRegGetStr(kPath, u"UserDicPath", u"default"), u"");
  registry.SetString(HKCU, kSub, u"raw", u"abc", /*terminated=*/false);
  EXPECT_EQ(store.AppRegGetStr(kPath, u"raw", u"default"), u"abc");
  registry.SetString(HKCU, kSub, u"two", std::u16string(u"ab\0cd", 5));
  EXPECT_EQ(store.AppRegGetStr(kPath, u"two", u"default"), u"ab");
}

TEST_F(RegistryStoreTest, WritesGoOnlyWhereThePathSays) {
  EXPECT_EQ(store.AppRegSetInt(kPath, u"Alpha", 200), 1);
  EXPECT_EQ(store.AppRegSetStr(kPath, u"C:\\d.csv"), 1);
  ASSERT_EQ(registry.writes.size(), 2u);
  EXPECT_EQ(registry.writes[0], (MemoryRegistry::Write{HKCU, kSub, u"Alpha"}));
  EXPECT_EQ(registry.writes[1], (MemoryRegistry::Write{HKCU, kSub, u"UserDicPath"}));

  EXPECT_EQ(store.AppRegSetInt(u"Software\\x", u"a", 1), 0);
  EXPECT_EQ(store.AppRegSetStr(u"HKCU\\x", u"t"), 0);
  registry.failWrites = true;
  EXPECT_EQ(store.AppRegSetInt(kPath, u"Alpha", 1), 0);
  EXPECT_EQ(registry.writes.size(), 2u);
}

TEST_F(RegistryStoreTest, PathWithoutBackslashWritesKeyOfThatName) {
  store.AppRegSetInt(u"HKEY_CURRENT_USER", u"v", 9);
  EXPECT_TRUE(registry.Has(HKCU, u"HKEY_CURRENT_USER", u"v"));
}

}  // namespace
}  // namespace ostrel
