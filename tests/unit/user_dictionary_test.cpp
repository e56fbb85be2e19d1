#include "user_dictionary.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "encoding/utf8.h"

namespace ostrel::orvatone {
namespace {

using namespace std::string_literals;

std::string Utf8(std::u16string_view text) { return EncodeUtf8(text); }

// ---------------------------------------------------------------------------------------------
// UTF-8

struct Utf8Case {
  const char* name;
  std::string bytes;
  std::u16string text;
};

TEST(Utf8Decode, WellFormedBytes) {
  const Utf8Case cases[] = {
      {"empty", "", u""},
      {"ascii with a NUL", "a\0b"s, u"a\0b"s},
      {"two bytes", "\xC3\xA9", u"\u00E9"},
      {"three bytes", "\xE3\x81\x82", u"\u3042"},
      {"last of the basic plane", "\xEF\xBF\xBF", u"\uFFFF"},
      {"four bytes give a surrogate pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
      {"last scalar value", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      {"byte-order mark dropped", "\xEF\xBB\xBF" "a", u"a"},
      {"byte-order mark alone", "\xEF\xBB\xBF", u""},
      {"only the leading mark is dropped", "\xEF\xBB\xBF\xEF\xBB\xBF", u"\uFEFF"},
      {"a mark later on is text", "a\xEF\xBB\xBF", u"a\uFEFF"},
  };
  for (const Utf8Case& c : cases) {
    const std::optional<std::u16string> text = DecodeUtf8(c.bytes);
    ASSERT_TRUE(text.has_value()) << c.name;
    EXPECT_EQ(*text, c.text) << c.name;
  }
}

TEST(Utf8Decode, RejectsIllFormedBytes) {
  const std::pair<const char*, std::string> cases[] = {
      {"overlong NUL", "\xC0\x80"},
      {"overlong two-byte lead", "\xC1\xBF"},
      {"overlong three bytes", "\xE0\x9F\xBF"},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF"},
      {"high surrogate", "\xED\xA0\x80"},
      {"low surrogate", "\xED\xBF\xBF"},
      {"past U+10FFFF", "\xF4\x90\x80\x80"},
      {"lead byte F5", "\xF5\x80\x80\x80"},
      {"byte FF", "\xFF"},
      {"stray continuation byte", "a\x80"},
      {"truncated two bytes", "a\xC3"},
      {"truncated three bytes", "\xE3\x81"},
      {"truncated four bytes", "\xF0\x9F\x98"},
      {"continuation replaced by ASCII", "\xE3\x41\x82"},
      {"mark then code page text", "\xEF\xBB\xBF\x93\xFA"},
  };
  for (const auto& [name, bytes] : cases) EXPECT_FALSE(DecodeUtf8(bytes).has_value()) << name;
}

TEST(Utf8Encode, EveryScalarValueRoundTrips) {
  std::u16string all;
  for (char32_t value = 0; value <= 0x10FFFF; ++value) {
    if (value >= 0xD800 && value <= 0xDFFF) continue;
    if (value < 0x10000) {
      all += static_cast<char16_t>(value);
    } else {
      all += static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10));
      all += static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF));
    }
  }
  const std::string bytes = EncodeUtf8(all);
  EXPECT_EQ(bytes.size(), 0x80u * 1 + 0x780u * 2 + (0x10000u - 0x800u - 0x800u) * 3 + 0x100000u * 4);
  EXPECT_EQ(DecodeUtf8(bytes), all);
}

TEST(Utf8Encode, LoneSurrogatesBecomeReplacementCharacters) {
  const std::pair<std::u16string, std::string> cases[] = {
      {u"a\xD800", "a\xEF\xBF\xBD"},
      {u"\xDC00z", "\xEF\xBF\xBDz"},
      {u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {u"\xD83D\xD83D\xDE00", "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
  };
  for (const auto& [text, bytes] : cases) EXPECT_EQ(EncodeUtf8(text), bytes);
}

// ---------------------------------------------------------------------------------------------
// Parsing the dictionary file

// Stands in for the code page: each byte becomes the code unit 0xF000 + byte, so a test sees
// whether (and on what) the code page was used.
struct FakeCodePage {
  int calls = 0;
  std::string lastInput;

  CodePageDecoder Decoder() {
    return [this](std::string_view bytes) {
      ++calls;
      lastInput = bytes;
      std::u16string text;
      for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += byte < 0x80 ? static_cast<char16_t>(byte) : static_cast<char16_t>(0xF000 + byte);
      }
      return text;
    };
  }
};

struct ParseCase {
  const char* name;
  std::string file;
  std::vector<DictionaryEntry> entries;
  std::size_t malformed;
};

TEST(UserDictionaryParse, LinesAndFields) {
  const ParseCase cases[] = {
      {"plain", "a,b", {{u"a", u"b"}}, 0},
      {"blanks around unquoted fields", " \tNHK ,  エヌエイチケー \t", {{u"NHK", u"エヌエイチケー"}}, 0},
      {"ideographic space trimmed", "\xE3\x80\x80" "東京,とうきょう", {{u"東京", u"とうきょう"}}, 0},
      {"quoted comma", "\"1,000\",せん", {{u"1,000", u"せん"}}, 0},
      {"doubled quote", "\"say \"\"hi\"\"\",x", {{u"say \"hi\"", u"x"}}, 0},
      {"blanks inside quotes kept", "  \" a \" , \" b \" ", {{u" a ", u" b "}}, 0},
      {"empty reading", "silent,", {{u"silent", u""}}, 0},
      {"empty quoted reading", "silent,\"\"", {{u"silent", u""}}, 0},
      {"quoted hash is an entry", "\"#1\",いちばん", {{u"#1", u"いちばん"}}, 0},
      {"comment", "# written,reading", {}, 0},
      {"indented comment", "   \t# x,y", {}, 0},
      {"blank lines", "\n  \n\t\n", {}, 0},
      {"only one field", "alone", {}, 1},
      {"three fields", "a,b,c", {}, 1},
      {"trailing comma", "a,b,", {}, 1},
      {"empty written form", ",x", {}, 1},
      {"empty quoted written form", "\"\",x", {}, 1},
      {"blank written form", "   ,x", {}, 1},
      {"unclosed quote", "\"a,b", {}, 1},
      {"text after closing quote", "\"a\"b,c", {}, 1},
      {"quote inside unquoted field", "a\"b,c", {}, 1},
      {"NUL is just a character", "a\0b,c\0"s, {{u"a\0b"s, u"c\0"s}}, 0},
      {"mixed",
       "# header\nTCP,ティーシーピー\nbroken\n\nUDP,\"ユーディー,ピー\"\n,\n",
       {{u"TCP", u"ティーシーピー"}, {u"UDP", u"ユーディー,ピー"}},
       2},
  };
  FakeCodePage codePage;
  for (const ParseCase& c : cases) {
    const UserDictionary dictionary = UserDictionary::Parse(c.file, codePage.Decoder());
    EXPECT_EQ(dictionary.Entries(), c.entries) << c.name;
    EXPECT_EQ(dictionary.MalformedLines(), c.malformed) << c.name;
  }
  EXPECT_EQ(codePage.calls, 0);
}

TEST(UserDictionaryParse, EveryLineEndEndsALine) {
  const std::vector<DictionaryEntry> expected = {{u"a", u"1"}, {u"b", u"2"}, {u"c", u"3"}, {u"d", u"4"}};
  for (const std::string file : {"a,1\r\nb,2\r\nc,3\r\nd,4\r\n", "a,1\nb,2\nc,3\nd,4", "a,1\rb,2\rc,3\rd,4\r",
                                 "a,1\r\nb,2\rc,3\nd,4", "\r\n\r\na,1\r\r\nb,2\n\n\rc,3\r\n\nd,4\n\r"}) {
    const UserDictionary dictionary = UserDictionary::Parse(file, nullptr);
    EXPECT_EQ(dictionary.Entries(), expected) << file;
    EXPECT_EQ(dictionary.MalformedLines(), 0u) << file;
  }
}

TEST(UserDictionaryParse, QuotedLineBreakSpoilsBothLinesButNotTheNext) {
  for (const std::string lineEnd : {"\n", "\r\n", "\r"}) {
    const std::string file = "\"two" + lineEnd + "lines\",x" + lineEnd + "after,y";
    const UserDictionary dictionary = UserDictionary::Parse(file, nullptr);
    EXPECT_EQ(dictionary.Entries(), (std::vector<DictionaryEntry>{{u"after", u"y"}}));
    EXPECT_EQ(dictionary.MalformedLines(), 2u);
  }
}

TEST(UserDictionaryParse, Utf8WithOrWithoutByteOrderMarkNeedsNoCodePage) {
  FakeCodePage codePage;
  for (const std::string file : {"\xEF\xBB\xBF日本,にっぽん\n", "日本,にっぽん\n"}) {
    const UserDictionary dictionary = UserDictionary::Parse(file, codePage.Decoder());
    EXPECT_EQ(dictionary.Entries(), (std::vector<DictionaryEntry>{{u"日本", u"にっぽん"}}));
  }
  EXPECT_EQ(codePage.calls, 0);
}

TEST(UserDictionaryParse, CodePageDecidesForTheWholeFile) {
  // The first line is valid UTF-8 on its own; one code page byte further on makes the file a
  // code page file, first line included.
  const std::string file = "\xC3\xA9,e\n\x93\xFA,nichi\n";
  FakeCodePage codePage;
  const UserDictionary dictionary = UserDictionary::Parse(file, codePage.Decoder());
  EXPECT_EQ(codePage.calls, 1);
  EXPECT_EQ(codePage.lastInput, file);
  EXPECT_EQ(dictionary.Entries(),
            (std::vector<DictionaryEntry>{{u"\xF0C3\xF0A9", u"e"}, {u"\xF093\xF0FA", u"nichi"}}));
}

TEST(UserDictionaryParse, ByteOrderMarkKeepsABrokenFileUtf8) {
  FakeCodePage codePage;
  const UserDictionary dictionary = UserDictionary::Parse("\xEF\xBB\xBF" "a\xFF,b\nc,d", codePage.Decoder());
  EXPECT_EQ(codePage.calls, 0);
  EXPECT_EQ(dictionary.Entries(), (std::vector<DictionaryEntry>{{u"a\uFFFD", u"b"}, {u"c", u"d"}}));
}

TEST(UserDictionaryParse, MissingCodePageDecoderKeepsAsciiLines) {
  const UserDictionary dictionary = UserDictionary::Parse("\x93\xFA,x\nok,fine\n", nullptr);
  EXPECT_EQ(dictionary.Entries(), (std::vector<DictionaryEntry>{{u"\uFFFD\uFFFD", u"x"}, {u"ok", u"fine"}}));
}

TEST(UserDictionaryParse, LaterEntryReplacesTheReadingInPlace) {
  const UserDictionary dictionary = UserDictionary::Parse("a,1\nb,2\na,3\nc,4\na,5\n", nullptr);
  EXPECT_EQ(dictionary.Entries(), (std::vector<DictionaryEntry>{{u"a", u"5"}, {u"b", u"2"}, {u"c", u"4"}}));
  EXPECT_EQ(dictionary.Apply(u"abc"), u"524");
}

TEST(UserDictionaryParse, HostileFilesAreCountedNotFatal) {
  const std::string hugeLine(1 << 20, 'x');
  EXPECT_EQ(UserDictionary::Parse(hugeLine, nullptr).MalformedLines(), 1u);
  EXPECT_EQ(UserDictionary::Parse(hugeLine + ",y", nullptr).Entries().front().written.size(), hugeLine.size());
  EXPECT_EQ(UserDictionary::Parse(std::string(1 << 20, '"'), nullptr).MalformedLines(), 1u);
  EXPECT_EQ(UserDictionary::Parse(std::string(1 << 20, ','), nullptr).MalformedLines(), 1u);

  std::string manyLines;
  for (int i = 0; i < 200'000; ++i) manyLines += ",\n";
  EXPECT_EQ(UserDictionary::Parse(manyLines, nullptr).MalformedLines(), 200'000u);

  std::string manyEntries;
  for (int i = 0; i < 20'000; ++i) manyEntries += "w" + std::to_string(i) + ",r\n";
  EXPECT_EQ(UserDictionary::Parse(manyEntries, nullptr).Entries().size(), 20'000u);

  std::string binary;
  for (int i = 0; i < 1 << 16; ++i) binary += static_cast<char>(i * 7919 >> 3);
  FakeCodePage codePage;
  (void)UserDictionary::Parse(binary, codePage.Decoder());
  EXPECT_EQ(codePage.calls, 1);
}

// ---------------------------------------------------------------------------------------------
// Applying it

UserDictionary Dictionary(const std::string& utf8File) { return UserDictionary::Parse(utf8File, nullptr); }

TEST(UserDictionaryApply, Replacements) {
  const UserDictionary dictionary = Dictionary(
      "東,ひがし\n東京,とうきょう\n東京都,とうきょうと\nab,X\nbc,Y\na,b\nb,c\nmute,\n\U0001F600,smile\n");
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"", u""},
      {u"none here", u"none here"},
      {u"東京都と東京と東", u"とうきょうとととうきょうとひがし"},
      {u"東京", u"とうきょう"},
      {u"東京タワー", u"とうきょうタワー"},
      {u"abc", u"Xc"},   // the leftmost match wins over a longer one starting later
      {u"ba", u"cb"},    // readings are not scanned again
      {u"a mute b", u"b  c"},
      {u"x\U0001F600y", u"xsmiley"},
      {u"\xD83D", u"\xD83D"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(dictionary.Apply(text), expected) << Utf8(text);
}

TEST(UserDictionaryApply, PartialPrefixFallsBackToShorterForm) {
  const UserDictionary dictionary = Dictionary("abcd,LONG\nab,SHORT\n");
  EXPECT_EQ(dictionary.Apply(u"abcx abcd abc ab a"), u"SHORTcx LONG SHORTc SHORT a");
}

TEST(UserDictionaryApply, EmptyDictionaryChangesNothing) {
  EXPECT_EQ(UserDictionary().Apply(u"text"), u"text");
  EXPECT_EQ(Dictionary("# only a comment\n").Apply(u"text"), u"text");
}

// The obvious quadratic rule, to compare against on random dictionaries and texts.
std::u16string ReferenceApply(const std::vector<DictionaryEntry>& entries, std::u16string_view text) {
  std::u16string result;
  for (std::size_t pos = 0; pos < text.size();) {
    const DictionaryEntry* best = nullptr;
    for (const DictionaryEntry& entry : entries) {
      if (text.substr(pos).starts_with(entry.written) && (!best || entry.written.size() > best->written.size())) {
        best = &entry;
      }
    }
    if (best) {
      result += best->reading;
      pos += best->written.size();
    } else {
      result += text[pos++];
    }
  }
  return result;
}

TEST(UserDictionaryApply, AgreesWithTheObviousRuleOnRandomInput) {
  std::mt19937 random(20240611);
  const auto randomWord = [&random](std::size_t maxLength) {
    std::string word(1 + random() % maxLength, 'a');
    for (char& c : word) c = static_cast<char>('a' + random() % 3);
    return word;
  };
  for (int round = 0; round < 300; ++round) {
    std::string file;
    const int count = static_cast<int>(random() % 12);
    for (int i = 0; i < count; ++i) file += randomWord(4) + "," + std::to_string(i) + "\n";
    const UserDictionary dictionary = Dictionary(file);
    const std::string text = randomWord(40);
    const std::u16string text16(text.begin(), text.end());
    ASSERT_EQ(dictionary.Apply(text16), ReferenceApply(dictionary.Entries(), text16)) << file << "\n" << text;
  }
}

TEST(UserDictionaryApply, MegabyteTextWithThousandsOfSharedPrefixEntries) {
  // Every entry shares its first two units, and every text position starts like one of them:
  // an index by first unit alone would try all ten thousand at each position.
  std::string file;
  for (int i = 0; i < 10'000; ++i) file += "ab" + std::to_string(i) + ",<" + std::to_string(i) + ">\n";
  const UserDictionary dictionary = Dictionary(file);
  std::u16string text;
  while (text.size() < (1u << 20)) text += u"ab ab7 abx ab9999 ";
  // A quadratic replacement would outlast the test's time limit rather than fail an assertion.
  const std::u16string result = dictionary.Apply(text);
  EXPECT_EQ(result.substr(0, 18), u"ab <7> abx <9999> ");
}

}  // namespace
}  // namespace ostrel::orvatone
