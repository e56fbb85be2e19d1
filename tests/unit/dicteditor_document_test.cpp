#include "dicteditor/dictionary_document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "user_dictionary.h"

namespace ostrel::dicteditor {
namespace {

// Code page 932 for the few characters the tests use; anything else is "not expressible".
std::u16string DecodeSjis(std::string_view bytes) {
  std::u16string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      text += static_cast<char16_t>(b);
    } else if (bytes.substr(i, 2) == "\x93\xFA") {
      text += u'日';
      ++i;
    } else if (bytes.substr(i, 2) == "\x82\xC9") {
      text += u'に';
      ++i;
    } else {
      text += u'\uFFFD';
    }
  }
  return text;
}

std::optional<std::string> EncodeSjis(std::u16string_view text) {
  std::string bytes;
  for (const char16_t c : text) {
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else if (c == u'日') {
      bytes += "\x93\xFA";
    } else if (c == u'に') {
      bytes += "\x82\xC9";
    } else {
      return std::nullopt;
    }
  }
  return bytes;
}

std::vector<DictionaryEntry> EntriesOf(const DictionaryDocument& document) {
  std::vector<DictionaryEntry> entries;
  for (const EntryId id : document.Entries()) entries.push_back(document.Entry(id));
  return entries;
}

// What the engine makes of the saved bytes: the editor must never write a file it reads otherwise.
std::vector<DictionaryEntry> EngineReads(const std::string& bytes) {
  return orvatone::UserDictionary::Parse(bytes, DecodeSjis).Entries();
}

TEST(DictionaryDocument, AnUnchangedFileIsWrittenBackByteForByte) {
  const std::string files[] = {
      "# comment\r\nOstrel,おすとれる\r\n\r\n\"AT&T\",えーてぃー\r\n",
      "\xEF\xBB\xBF# with a mark\na,b\n  # indented comment\nno comma here\nlast,line",
      "mixed,1\r\nbreaks,2\nold mac,3\rend,4",
      "",
      "\"unclosed,x\n a , b , c \n,empty written\n\"q\"x,1\n",
  };
  for (const std::string& bytes : files) {
    const DictionaryDocument document = DictionaryDocument::Parse(bytes, DecodeSjis);
    EXPECT_EQ(document.Serialize(EncodeSjis), bytes);
    EXPECT_FALSE(document.Modified());
  }
}

TEST(DictionaryDocument, ShowsTheEntriesTheEngineReadsAndKeepsTheRest) {
  const std::string bytes = "# header\nA,あ\nbroken\"line,x\n\"1,000円\",せんえん\na,b,c\n\nB,\n";
  const DictionaryDocument document = DictionaryDocument::Parse(bytes, DecodeSjis);
  EXPECT_EQ(EntriesOf(document), (std::vector<DictionaryEntry>{{u"A", u"あ"}, {u"1,000円", u"せんえん"}, {u"B", u""}}));
  EXPECT_EQ(document.UnknownLines(), 2u);
}

TEST(DictionaryDocument, EditsTouchOnlyTheirOwnLinesInPlace) {
  DictionaryDocument document = DictionaryDocument::Parse(
      "# top\r\nfirst,いち\r\n?? not an entry ??\r\n  second ,  に  \r\n# bottom\r\nthird,さん", DecodeSjis);
  const std::vector<EntryId> ids = document.Entries();
  ASSERT_EQ(ids.size(), 3u);
  document.Replace(ids[0], {u"first", u"ファースト"});
  document.Remove(ids[2]);
  document.Add({u"fourth", u"よん"});
  EXPECT_TRUE(document.Modified());
  // The untouched entry keeps its own spacing; the last line gains the break it lacked.
  EXPECT_EQ(document.Serialize(EncodeSjis),
            "# top\r\nfirst,ファースト\r\n?? not an entry ??\r\n  second ,  に  \r\n# bottom\r\nfourth,よん\r\n");
}

TEST(DictionaryDocument, NewLinesUseTheFilesOwnLineBreak) {
  DictionaryDocument document = DictionaryDocument::Parse("a,1\nb,2\n", nullptr);
  document.Add({u"c", u"3"});
  EXPECT_EQ(document.Serialize(nullptr), "a,1\nb,2\nc,3\n");
}

TEST(DictionaryDocument, FieldsThatNeedQuotesGetThemAndReadBackTheSame) {
  const std::vector<DictionaryEntry> tricky = {
      {u"1,000円", u"せんえん"}, {u"say \"hi\"", u"はい"}, {u"#1", u"いちばん"},  {u" lead", u"x"},
      {u"tail\u3000", u"y"},     {u"a#b", u"c,d"},          {u"plain", u""},       {u"\"", u"\"\""},
  };
  DictionaryDocument document;
  for (const DictionaryEntry& entry : tricky) document.Add(entry);
  EXPECT_EQ(EngineReads(document.Serialize(EncodeSjis)), tricky);
  EXPECT_EQ(FormatDictionaryLine({u"1,000円", u"せんえん"}), u"\"1,000円\",せんえん");
  EXPECT_EQ(FormatDictionaryLine({u"#1", u"a#b"}), u"\"#1\",a#b");
}

TEST(DictionaryDocument, KeepsTheEncodingItWasReadIn) {
  {
    DictionaryDocument document = DictionaryDocument::Parse("a,b\n", DecodeSjis);  // ASCII: UTF-8 without a mark
    document.Add({u"日", u"に"});
    EXPECT_EQ(document.Serialize(EncodeSjis), "a,b\n\xE6\x97\xA5,\xE3\x81\xAB\n");
  }
  {
    DictionaryDocument document = DictionaryDocument::Parse("\x93\xFA,\x82\xC9\r\n", DecodeSjis);
    EXPECT_EQ(document.Encoding(), DictionaryEncoding::kCodePage);
    EXPECT_EQ(EntriesOf(document), (std::vector<DictionaryEntry>{{u"日", u"に"}}));
    document.Add({u"x", u"に"});
    EXPECT_EQ(document.Serialize(EncodeSjis), "\x93\xFA,\x82\xC9\r\nx,\x82\xC9\r\n");
  }
}

TEST(DictionaryDocument, ACodePageFileWithAnInexpressibleCharacterBecomesUtf8WithAMark) {
  DictionaryDocument document = DictionaryDocument::Parse("\x93\xFA,\x82\xC9\r\n", DecodeSjis);
  document.Add({u"한", u"に"});
  const std::string bytes = document.Serialize(EncodeSjis);
  EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF"));
  EXPECT_EQ(EngineReads(bytes), (std::vector<DictionaryEntry>{{u"日", u"に"}, {u"한", u"に"}}));
}

TEST(DictionaryDocument, ANewDictionarySaysWhatItIs) {
  DictionaryDocument document;
  EXPECT_TRUE(document.Entries().empty());
  EXPECT_FALSE(document.Modified());
  const std::string bytes = document.Serialize(EncodeSjis);
  EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF# "));
  EXPECT_TRUE(EngineReads(bytes).empty());
  EXPECT_EQ(orvatone::UserDictionary::Parse(bytes, nullptr).MalformedLines(), 0u);
}

TEST(DictionaryDocument, FindsTheWrittenFormTheEngineWouldUse) {
  const DictionaryDocument document = DictionaryDocument::Parse("x,1\ny,2\nx,3\n", nullptr);
  const std::vector<EntryId> ids = document.Entries();
  EXPECT_EQ(document.FindWritten(u"x"), ids[2]);
  EXPECT_EQ(document.FindWritten(u"z"), std::nullopt);
}

TEST(DictionaryDocument, RemovedEntriesAreGoneAndIdsStayValid) {
  DictionaryDocument document = DictionaryDocument::Parse("a,1\nb,2\n", nullptr);
  const std::vector<EntryId> ids = document.Entries();
  document.Remove(ids[0]);
  EXPECT_FALSE(document.Contains(ids[0]));
  EXPECT_EQ(document.Entry(ids[1]).written, u"b");
  const EntryId added = document.Add({u"c", u"3"});
  EXPECT_NE(added, ids[0]);
  EXPECT_EQ(document.Serialize(nullptr), "b,2\nc,3\n");
}

TEST(DictionaryDocument, ImportAddsNewFormsAndReplacesReadingsOnlyWhenAsked) {
  const DictionaryDocument other = DictionaryDocument::Parse("new,あ\nsame,い\ndiffer,う\ndiffer,え\n", nullptr);
  for (const bool replace : {false, true}) {
    DictionaryDocument document = DictionaryDocument::Parse("same,い\ndiffer,お\n", nullptr);
    EXPECT_EQ(document.ConflictsWith(other), 1u);
    const auto count = document.Import(other, replace);
    EXPECT_EQ(count.added, 1u);
    EXPECT_EQ(count.replaced, replace ? 1u : 0u);
    EXPECT_EQ(count.unchanged, replace ? 1u : 2u);
    // The imported file's last reading is the one the engine used there.
    EXPECT_EQ(EntriesOf(document), (std::vector<DictionaryEntry>{
                                       {u"same", u"い"}, {u"differ", replace ? u"え" : u"お"}, {u"new", u"あ"}}));
  }
}

}  // namespace
}  // namespace ostrel::dicteditor
