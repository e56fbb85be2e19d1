// The engine takes a dictionary's path in code page 932. A dictionary in a folder named in another
// script still reaches it, under its short name; one that cannot is named to the user once.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "encoding/code_page_win32.h"
#include "test_files.h"
#include "toolbar_fixture.h"

namespace ostrel {
namespace {

using UserDictionaryPathTest = testing::ToolbarFixture;

constexpr wchar_t kUnusableStart[] = L"次のユーザー辞書は使えないため、辞書なしで読み上げます。";

void StoreDictionary(const wchar_t* language, const std::wstring& path) {
  const std::wstring key = std::wstring(L"Software\\Brantic\\Ostrel4\\") + language;
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"UserDicPath", REG_SZ, path.c_str(),
                            static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

void WriteText(const std::wstring& path, const std::string& text) {
  testing::WriteBytes(path, text.data(), text.size());
}

// The path the engine was given for the language, as the engine reads it back (code page 932).
std::wstring PathGiven(const testing::FakeEngine& engine, int language) {
  const std::string prefix = "SetUserDictionary " + std::to_string(language) + " ";
  for (const std::string& call : engine.Calls("SetUserDictionary")) {
    if (call.rfind(prefix, 0) != 0) continue;
    const std::u16string path = FromCodePage(call.substr(prefix.size()), 932);
    return std::wstring(path.begin(), path.end());
  }
  ADD_FAILURE() << "no dictionary given for language " << language;
  return {};
}

std::string ContentAt(const std::wstring& path) {
  const std::vector<char> bytes = testing::ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST_F(UserDictionaryPathTest, ADictionaryInAKoreanFolderReachesTheEngine) {
  const testing::TempFolder temp;
  const std::wstring folder = temp.File(L"사용자 사전");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring dictionary = folder + L"\\userdict_jpn.csv";
  WriteText(dictionary, "# the Korean folder's\n");
  StoreDictionary(L"Japanese", dictionary);

  Open();
  const std::wstring given = PathGiven(engine, 1);
  EXPECT_EQ(given.find(L'?'), std::wstring::npos) << "the folder's name was lost";
  EXPECT_EQ(ContentAt(given), "# the Korean folder's\n");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(UserDictionaryPathTest, AnAccentedFolderIsNotTakenForItsLookAlike) {
  // Code page 932 has no é; a best fit would turn "Café" into the neighbouring "Cafe".
  const testing::TempFolder temp;
  ASSERT_TRUE(CreateDirectoryW(temp.File(L"Café").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(temp.File(L"Cafe").c_str(), nullptr));
  WriteText(temp.File(L"Café\\dict.csv"), "accented");
  WriteText(temp.File(L"Cafe\\dict.csv"), "plain");
  StoreDictionary(L"English", temp.File(L"Café\\dict.csv"));

  Open();
  EXPECT_EQ(ContentAt(PathGiven(engine, 3)), "accented");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(UserDictionaryPathTest, DictionariesThatCannotBeHandedOverAreNamedOnceAndLeftOut) {
  // A missing file has no short name: nothing that code page 932 can say names it.
  const testing::TempFolder temp;
  const std::wstring folder = temp.File(L"사전");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  StoreDictionary(L"Japanese", folder + L"\\jpn.csv");
  StoreDictionary(L"Korean", folder + L"\\kor.csv");
  // Missing too, but its path crosses: the engine finds nothing there, as it always has.
  StoreDictionary(L"Chinese", temp.File(L"chi.csv"));

  Open();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind(kUnusableStart, 0), 0u) << "box: " << boxes[0].size() << " characters";
  EXPECT_NE(boxes[0].find(L"\n日本語：" + folder + L"\\jpn.csv"), std::wstring::npos);
  EXPECT_NE(boxes[0].find(L"\n韓国語：" + folder + L"\\kor.csv"), std::wstring::npos);
  EXPECT_EQ(boxes[0].find(L"中国語"), std::wstring::npos);
  EXPECT_EQ(styles[0], static_cast<UINT>(MB_OK | MB_ICONWARNING));
  // No '?' path that names nothing or something else: no dictionary at all.
  EXPECT_EQ(engine.Calls("SetUserDictionary")[0], "SetUserDictionary 1 ");
  EXPECT_EQ(PathGiven(engine, 2), temp.File(L"chi.csv"));
  EXPECT_EQ(engine.Calls("StartLanguage").size(), 4u);  // the languages start all the same

  // The toolbar's other start-up steps say nothing more about it.
  SendMessageW(toolbar->hwnd(), WM_CLOSE, 0, 0);
  testing::PumpMessages();
  EXPECT_EQ(boxes.size(), 1u);
}

}  // namespace
}  // namespace ostrel
