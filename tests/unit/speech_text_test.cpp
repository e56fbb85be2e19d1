#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "encoding/utf8.h"
#include "parenthesis_rule.h"
#include "utterance_splitter.h"

namespace ostrel::orvatone {
namespace {

constexpr PauseAfter kN = PauseAfter::kNone;
constexpr PauseAfter kC = PauseAfter::kComma;
constexpr PauseAfter kS = PauseAfter::kSentence;

// One line per utterance, its pause after a tab, so a failure reads as text.
std::string Render(const std::vector<Utterance>& utterances) {
  std::string rendered;
  for (const Utterance& u : utterances) {
    rendered += EncodeUtf8(u.text);
    rendered += u.pauseAfter == kS ? "\t<sentence>\n" : u.pauseAfter == kC ? "\t<comma>\n" : "\t<none>\n";
  }
  return rendered;
}

struct SplitCase {
  const char* name;
  std::u16string text;
  std::vector<Utterance> expected;
};

void ExpectSplits(const SplitCase* begin, const SplitCase* end) {
  for (const SplitCase* c = begin; c != end; ++c) {
    EXPECT_EQ(Render(SplitUtterances(c->text)), Render(c->expected)) << c->name;
  }
}

TEST(UtteranceSplit, Japanese) {
  const SplitCase cases[] = {
      {"sentences", u"今日は晴れです。明日は雨でしょう。", {{u"今日は晴れです。", kS}, {u"明日は雨でしょう。", kS}}},
      {"comma and full-width marks", u"はい、そうです！本当？", {{u"はい、", kC}, {u"そうです！", kS}, {u"本当？", kS}}},
      {"closing bracket stays", u"「こんにちは。」と言った。", {{u"「こんにちは。」", kS}, {u"と言った。", kS}}},
      {"closing after comma", u"「はい、」と答えた", {{u"「はい、」", kC}, {u"と答えた", kN}}},
      {"run of marks, ideographic space", u"えっ？！　本当……", {{u"えっ？！", kS}, {u"本当……", kN}}},
      {"full-width decimal", u"円周率は３．１４です。", {{u"円周率は３．１４です。", kS}}},
      {"half-width marks", u"ﾊｲ､ｿｳﾃﾞｽ｡", {{u"ﾊｲ､", kC}, {u"ｿｳﾃﾞｽ｡", kS}}},
  };
  ExpectSplits(std::begin(cases), std::end(cases));
}

TEST(UtteranceSplit, Chinese) {
  const SplitCase cases[] = {
      {"comma and stops", u"你好，世界。我们走吧！", {{u"你好，", kC}, {u"世界。", kS}, {u"我们走吧！", kS}}},
      {"closing quote", u"他说：“好。”然后走了。", {{u"他说：“好。”", kS}, {u"然后走了。", kS}}},
      {"enumeration comma", u"一、二、三", {{u"一、", kC}, {u"二、", kC}, {u"三", kN}}},
  };
  ExpectSplits(std::begin(cases), std::end(cases));
}

TEST(UtteranceSplit, English) {
  const SplitCase cases[] = {
      {"marks and runs", u"Hello, world. How are you?! Fine...",
       {{u"Hello,", kC}, {u"world.", kS}, {u"How are you?!", kS}, {u"Fine...", kS}}},
      {"numbers", u"Pi is 3.14, and 1,000 is more.", {{u"Pi is 3.14,", kC}, {u"and 1,000 is more.", kS}}},
      {"names with dots", u"Visit www.example.com now. Then", {{u"Visit www.example.com now.", kS}, {u"Then", kN}}},
      {"decimal without leading digit", u"It costs .5 dollars", {{u"It costs .5 dollars", kN}}},
      {"ellipsis before a word", u"wait...what", {{u"wait...", kS}, {u"what", kN}}},
      {"closing quote", u"He said \"Stop.\" Then left.", {{u"He said \"Stop.\"", kS}, {u"Then left.", kS}}},
      {"quote and bracket after comma", u"(\"Yes,\") he said", {{u"(\"Yes,\")", kC}, {u"he said", kN}}},
      {"comma run", u"a,, b", {{u"a,,", kC}, {u"b", kN}}},
  };
  ExpectSplits(std::begin(cases), std::end(cases));
}

TEST(UtteranceSplit, Korean) {
  const SplitCase cases[] = {
      {"marks", u"안녕하세요. 반갑습니다! 네, 좋아요?",
       {{u"안녕하세요.", kS}, {u"반갑습니다!", kS}, {u"네,", kC}, {u"좋아요?", kS}}},
      {"no space after stop", u"끝났다.다음", {{u"끝났다.", kS}, {u"다음", kN}}},
  };
  ExpectSplits(std::begin(cases), std::end(cases));
}

TEST(UtteranceSplit, LineBreaks) {
  const SplitCase cases[] = {
      {"every line end", u"one\ntwo\r\nthree\rfour\u2028five\u2029six",
       {{u"one", kS}, {u"two", kS}, {u"three", kS}, {u"four", kS}, {u"five", kS}, {u"six", kN}}},
      {"blank lines give nothing", u"A\n\n \r\n\t\nB\n", {{u"A", kS}, {u"B", kS}}},
      {"comma then line end is a sentence end", u"items,\nnext", {{u"items,", kS}, {u"next", kN}}},
      {"a quote after a line break opens the next line", u"Hi.\n\"Yes\"", {{u"Hi.", kS}, {u"\"Yes\"", kN}}},
      {"bracket after a line break", u"前\n」後", {{u"前", kS}, {u"」後", kN}}},
  };
  ExpectSplits(std::begin(cases), std::end(cases));
}

TEST(UtteranceSplit, NothingToSayIsDroppedButItsPauseIsNot) {
  const SplitCase cases[] = {
      {"empty", u"", {}},
      {"blanks", u"  \t\u3000 ", {}},
      {"only marks", u"。、!?\n…", {}},
      {"leading marks", u"。。。Hi", {{u"Hi", kN}}},
      {"bracketed mark after a comma", u"Yes, (!) no", {{u"Yes,", kS}, {u"no", kN}}},
      {"stop after comma and blank", u"Hello, 。", {{u"Hello,", kS}}},
      {"empty brackets", u"「」、「」", {}},
      {"last utterance keeps its mark", u"End.", {{u"End.", kS}}},
      {"last utterance without mark", u"  End  ", {{u"End", kN}}},
  };
  ExpectSplits(std::begin(cases), std::end(cases));
}

std::u16string Repeat(std::u16string_view piece, std::size_t times) {
  std::u16string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(UtteranceSplit, TextWithoutMarksIsCutIntoBoundedPieces) {
  const std::u16string text = Repeat(u"あ", 1000);
  const std::vector<Utterance> pieces = SplitUtterances(text, 200);
  ASSERT_EQ(pieces.size(), 5u);
  for (const Utterance& piece : pieces) {
    EXPECT_EQ(piece.text, Repeat(u"あ", 200));
    EXPECT_EQ(piece.pauseAfter, kN);
  }
}

TEST(UtteranceSplit, LongStretchIsCutAtTheLastBlank) {
  const std::u16string text = Repeat(u"word ", 100) + u"end.";
  const std::vector<Utterance> pieces = SplitUtterances(text, 32);
  std::u16string joined;
  for (const Utterance& piece : pieces) {
    EXPECT_LE(piece.text.size(), 32u);
    // Whole words only: the last blank that fits is taken, so each piece holds six words.
    if (&piece != &pieces.back()) {
      EXPECT_EQ(piece.text.size(), 29u) << EncodeUtf8(piece.text);
    }
    EXPECT_EQ(piece.pauseAfter, &piece == &pieces.back() ? kS : kN);
    joined += (joined.empty() ? u"" : u" ") + piece.text;
  }
  EXPECT_EQ(joined, Repeat(u"word ", 100) + u"end.");
}

TEST(UtteranceSplit, LongStretchThenMark) {
  const std::u16string text = Repeat(u"x", 250) + u"。";
  EXPECT_EQ(Render(SplitUtterances(text, 200)),
            Render({{Repeat(u"x", 200), kN}, {Repeat(u"x", 50) + u"。", kS}}));
}

TEST(UtteranceSplit, CutsNeverSplitASurrogatePair) {
  for (std::size_t maxLength : {2u, 3u, 7u, 200u, 201u}) {
    const std::u16string text = u"a" + Repeat(u"\U0001F600", 300);
    std::u16string joined;
    for (const Utterance& piece : SplitUtterances(text, maxLength)) {
      ASSERT_FALSE(piece.text.empty());
      EXPECT_LE(piece.text.size(), maxLength);
      EXPECT_FALSE(piece.text.front() >= 0xDC00 && piece.text.front() <= 0xDFFF) << maxLength;
      EXPECT_FALSE(piece.text.back() >= 0xD800 && piece.text.back() <= 0xDBFF) << maxLength;
      joined += piece.text;
    }
    EXPECT_EQ(joined, text) << maxLength;
  }
}

TEST(UtteranceSplit, TinyLimitsStillTerminate) {
  for (std::size_t maxLength : {0u, 1u, 2u}) {
    const std::vector<Utterance> pieces = SplitUtterances(u"abcde", maxLength);
    std::u16string joined;
    for (const Utterance& piece : pieces) {
      EXPECT_LE(piece.text.size(), 2u);
      joined += piece.text;
    }
    EXPECT_EQ(joined, u"abcde") << maxLength;
  }
}

TEST(UtteranceSplit, LongRunOfMarksStaysBoundedAndEndsTheSentence) {
  const std::vector<Utterance> pieces = SplitUtterances(u"Hi" + Repeat(u"!", 500) + u"Bye", 200);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].text, u"Hi" + Repeat(u"!", 198));
  EXPECT_EQ(pieces[0].pauseAfter, kS);
  EXPECT_EQ(pieces[1].text, u"Bye");
}

TEST(UtteranceSplit, MegabyteTextsAreSplitIntoBoundedPieces) {
  const std::u16string texts[] = {
      std::u16string(1 << 20, u'x'),
      Repeat(u"x ", 1 << 19),
      std::u16string(1 << 20, u'。'),
      Repeat(u"日本語の文です、", 1 << 17),
      Repeat(u"1.5,", 1 << 18),
      std::u16string((1 << 20) - 1, u' ') + u"x",
  };
  for (const std::u16string& text : texts) {
    const std::vector<Utterance> pieces = SplitUtterances(text);
    for (const Utterance& piece : pieces) ASSERT_LE(piece.text.size(), kMaxUtteranceLength);
  }
}

// ---------------------------------------------------------------------------------------------
// The Korean parenthesis rule

struct ParenthesisCase {
  std::u16string text;
  int minimumLength;
  std::u16string expected;
};

TEST(ParenthesisRule, KeepsLongEnoughAsides) {
  const ParenthesisCase cases[] = {
      {u"가(나다)라", 2, u"가(나다)라"},
      {u"가(나다)라", 3, u"가라"},
      {u"가（나다）라", 2, u"가（나다）라"},
      {u"가（나다）라", 3, u"가라"},
      {u"가(나다)라", 0, u"가라"},
      {u"가(나다)라", -5, u"가라"},
      {u"()", 1, u""},
      {u"(\U0001F600)", 1, u"(\U0001F600)"},      // a surrogate pair is one character
      {u"(\U0001F600)", 2, u""},
      {u"a(x)b(long one)c", 3, u"ab(long one)c"},
      {u"no asides", 1, u"no asides"},
      {u"", 3, u""},
  };
  for (const ParenthesisCase& c : cases) {
    EXPECT_EQ(ApplyParenthesisRule(c.text, c.minimumLength), c.expected)
        << EncodeUtf8(c.text) << " / " << c.minimumLength;
  }
}

TEST(ParenthesisRule, OutermostPairDecidesAndFormsMatch) {
  const ParenthesisCase cases[] = {
      {u"a(b(c)d)e", 5, u"a(b(c)d)e"},          // the inner pair counts as text of the outer
      {u"a(b(c)d)e", 6, u"ae"},
      {u"a(b（c）d)e", 6, u"ae"},
      {u"a(b）c)d", 10, u"ad"},                  // a wide closing form does not close `(`
      {u"a（b)c）d", 10, u"ad"},
      {u"a(（b)c", 3, u"ac"},                    // `)` closes its pair and the unclosed `（` in it
      {u"a(（b)c", 2, u"a(（b)c"},
  };
  for (const ParenthesisCase& c : cases) {
    EXPECT_EQ(ApplyParenthesisRule(c.text, c.minimumLength), c.expected)
        << EncodeUtf8(c.text) << " / " << c.minimumLength;
  }
}

TEST(ParenthesisRule, UnclosedAndStrayParenthesesStay) {
  const ParenthesisCase cases[] = {
      {u"a(b(c)d", 10, u"a(b(c)d"},
      {u"(x)a(b", 5, u"a(b"},
      {u"a（b)", 5, u"a（b)"},
      {u"a)b（c）", 5, u"a)b"},
      {u"a）b", 5, u"a）b"},
  };
  for (const ParenthesisCase& c : cases) {
    EXPECT_EQ(ApplyParenthesisRule(c.text, c.minimumLength), c.expected)
        << EncodeUtf8(c.text) << " / " << c.minimumLength;
  }
}

TEST(ParenthesisRule, MegabyteTextsOfParenthesesAreHandled) {
  const std::u16string texts[] = {std::u16string(1 << 20, u'('), Repeat(u"()", 1 << 19), Repeat(u"(a)）", 1 << 18),
                                  Repeat(u"(（", 1 << 19) + Repeat(u")", 1 << 19)};
  for (const std::u16string& text : texts) {
    (void)ApplyParenthesisRule(text, 2);
  }
  EXPECT_EQ(ApplyParenthesisRule(texts[0], 2), texts[0]);
}

}  // namespace
}  // namespace ostrel::orvatone
