#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "dicteditor/editor_setup.h"
#include "dicteditor/entry_check.h"
#include "dicteditor/entry_rows.h"

namespace ostrel::dicteditor {
namespace {

TEST(EntryCheck, RefusesWhatTheFileCannotHoldOrTheEngineWouldSkip) {
  const DictionaryDocument document = DictionaryDocument::Parse("東京,とうきょう\n", nullptr);
  struct Case {
    LanguageIndex language;
    DictionaryEntry entry;
    EntryProblem expected;
  };
  const Case cases[] = {
      {kJapanese, {u"大阪", u"おおさか"}, EntryProblem::kNone},
      {kJapanese, {u"大阪", u"オオサカ"}, EntryProblem::kNone},
      {kJapanese, {u"ｵｵｻｶ", u"ｵｵｻｶ"}, EntryProblem::kNone},
      {kJapanese, {u"無音", u""}, EntryProblem::kNone},  // an empty reading silences the written form
      {kJapanese, {u"", u"から"}, EntryProblem::kEmptyWritten},
      {kJapanese, {u"大阪", u"Osaka"}, EntryProblem::kReadingNotKana},
      {kJapanese, {u"大阪", u"大さか"}, EntryProblem::kReadingNotKana},
      {kEnglish, {u"NYC", u"New York City"}, EntryProblem::kNone},
      {kChinese, {u"北京", u"běi jīng"}, EntryProblem::kNone},
      {kJapanese, {u"大\n阪", u"おおさか"}, EntryProblem::kLineBreak},
      {kEnglish, {u"a", u"b\r"}, EntryProblem::kLineBreak},
      {kJapanese, {u"東京", u"とーきょー"}, EntryProblem::kDuplicate},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckEntry(c.language, c.entry, document, std::nullopt).problem, c.expected)
        << std::string(c.entry.written.begin(), c.entry.written.end()).size();
  }
}

TEST(EntryCheck, ADuplicateNamesTheEntryAndAnEntryMayKeepItsOwnWrittenForm) {
  const DictionaryDocument document = DictionaryDocument::Parse("a,あ\nb,い\n", nullptr);
  const std::vector<EntryId> ids = document.Entries();
  const EntryCheck clash = CheckEntry(kJapanese, {u"b", u"う"}, document, ids[0]);
  EXPECT_EQ(clash.problem, EntryProblem::kDuplicate);
  EXPECT_EQ(clash.duplicate, ids[1]);
  EXPECT_EQ(CheckEntry(kJapanese, {u"b", u"う"}, document, ids[1]).problem, EntryProblem::kNone);
}

TEST(EntryCheck, CleaningDropsTheBlanksTheEngineWouldDrop) {
  EXPECT_EQ(CleanEntry({u"\u3000東京 ", u"\tとうきょう"}), (DictionaryEntry{u"東京", u"とうきょう"}));
  EXPECT_EQ(CleanEntry({u"  ", u""}).written, u"");
}

TEST(EntryRows, SortsByEitherColumnBothWaysAndSearchesBoth) {
  const DictionaryDocument document =
      DictionaryDocument::Parse("Tokyo,とうきょう\nosaka,おおさか\n京都,きょうと\nＴＯＫＹＯ駅,とうきょうえき\n", nullptr);
  const std::vector<EntryId> ids = document.Entries();
  RowOrder order;
  EXPECT_EQ(VisibleEntries(document, u"", order), ids);
  order.ClickColumn(SortColumn::kReading);
  EXPECT_EQ(VisibleEntries(document, u"", order), (std::vector<EntryId>{ids[1], ids[2], ids[0], ids[3]}));
  order.ClickColumn(SortColumn::kReading);
  EXPECT_FALSE(order.ascending);
  EXPECT_EQ(VisibleEntries(document, u"", order), (std::vector<EntryId>{ids[3], ids[0], ids[2], ids[1]}));
  order.ClickColumn(SortColumn::kWritten);
  EXPECT_TRUE(order.ascending);
  EXPECT_EQ(VisibleEntries(document, u"", order), (std::vector<EntryId>{ids[0], ids[1], ids[2], ids[3]}));
  // Case and full width do not matter to a search; readings are searched too.
  EXPECT_EQ(VisibleEntries(document, u"tokyo", RowOrder{}), (std::vector<EntryId>{ids[0], ids[3]}));
  EXPECT_EQ(VisibleEntries(document, u"きょう", RowOrder{}), (std::vector<EntryId>{ids[0], ids[2], ids[3]}));
  EXPECT_TRUE(VisibleEntries(document, u"nagoya", RowOrder{}).empty());
}

// A Japanese dictionary holds readings in either kana, and written forms typed with half-width
// katakana: a search finds a word however its kana were typed.
TEST(EntryRows, SearchTakesEitherKanaAndEitherWidthAsTheSame) {
  const DictionaryDocument document = DictionaryDocument::Parse(
      "音声合成,おんせいごうせい\n"
      "ｵｽﾄﾚﾙ,オストレル\n"
      "ﾊﾟﾋﾞｰ,ぱびー\n"
      "ｳﾞｧｲｵﾘﾝ,ゔぁいおりん\n"
      "はゝ,ハヽ\n"
      "ＰＤＦ　ファイル,ぴーでぃーえふふぁいる\n",
      nullptr);
  const std::vector<EntryId> ids = document.Entries();
  const auto found = [&](std::u16string_view search) { return VisibleEntries(document, search, RowOrder{}); };
  struct Case {
    std::u16string_view search;
    std::vector<EntryId> expected;
  };
  const Case cases[] = {
      {u"オンセイ", {ids[0]}},       // katakana typed, hiragana stored
      {u"ｺﾞｳｾｲ", {ids[0]}},          // half-width with a voicing mark, one letter stored
      {u"おすとれる", {ids[1]}},     // hiragana typed, half-width and full-width stored
      {u"パビ", {ids[2]}},           // the half-voicing mark joins its letter
      {u"ハビ", {}},                 // ... and a letter with a mark is not the letter without one
      {u"ヴァイオリン", {ids[3]}},   // ｳﾞ is ヴ, and ゔ is too
      {u"ははは", {}},               // the iteration marks fold like the kana, not into them
      {u"ハヽ", {ids[4]}},
      {u"pdf ﾌｧｲﾙ", {ids[5]}},       // full-width letters and the ideographic space
      {u"ﾞ", {}},                    // a mark on its own is no letter of any word
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(found(cases[i].search), cases[i].expected);
  }
}

TEST(EditorSetup, TheProgramsNameSaysTheLanguage) {
  EXPECT_EQ(LanguageFromProgramName(u"UserDicJpn"), kJapanese);
  EXPECT_EQ(LanguageFromProgramName(u"UserDicChi"), kChinese);
  EXPECT_EQ(LanguageFromProgramName(u"userdiceng"), kEnglish);
  EXPECT_EQ(LanguageFromProgramName(u"USERDICKOR"), kKorean);
  EXPECT_EQ(LanguageFromProgramName(u"UserDicKorean"), kJapanese);
  EXPECT_EQ(DictionaryCodePage(kKorean), 949u);
}

TEST(EditorSetup, FindsTheEngineAboveTheEditorsFolder) {
  const std::set<std::u16string> engines = {u"C:\\Program Files\\Ostrel\\"};
  const auto exists = [&](const std::u16string& folder) { return engines.contains(folder); };
  EXPECT_EQ(FindEngineFolder(u"C:\\Program Files\\Ostrel\\VW\\VT\\Misaki\\M16\\bin\\", exists),
            u"C:\\Program Files\\Ostrel\\");
  EXPECT_EQ(FindEngineFolder(u"C:\\Program Files\\Ostrel", exists), u"C:\\Program Files\\Ostrel\\");
  // Nowhere to be found, even at the root: the editor's own folder.
  EXPECT_EQ(FindEngineFolder(u"D:\\a\\b", exists), u"D:\\a\\b\\");
  EXPECT_EQ(FindEngineFolder(u"D:\\", exists), u"D:\\");
}

TEST(EditorSetup, TheMendGoesToTheUsersOwnFolderUnderTheFilesName) {
  EXPECT_EQ(MendPath(u"C:\\Users\\u\\AppData\\Roaming", u"C:\\Program Files\\x\\userdict_jpn.csv", kJapanese),
            u"C:\\Users\\u\\AppData\\Roaming\\Brantic\\Ostrel4\\userdict_jpn.csv");
  EXPECT_EQ(MendPath(u"C:\\AppData\\", u"", kKorean), u"C:\\AppData\\Brantic\\Ostrel4\\userdict_kor.csv");
}

}  // namespace
}  // namespace ostrel::dicteditor
