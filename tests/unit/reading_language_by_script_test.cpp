#include "reading/language_by_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "reading/clipboard_to_speech.h"
#include "reading/reading_control.h"
#include "reading/text_capture.h"
#include "capture_fakes.h"
#include "reading_fakes.h"

namespace ostrel {
namespace {

using testing::CallLog;
using Enabled = std::array<bool, kLanguageCount>;
constexpr Enabled kAll{true, true, true, true};

struct Row {
  const char* what;
  std::u16string text;
  LanguageIndex current;
  LanguageIndex chosen;
};

void ExpectChoices(const std::vector<Row>& rows, const Enabled& enabled = kAll) {
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(LanguageByScript(row.text, enabled, row.current), row.chosen);
  }
}

TEST(ReadingLanguageByScriptTest, JapaneseIsToldByItsKana) {
  ExpectChoices({
      {"hiragana and Han", u"今日はとても良い天気ですね。", kEnglish, kJapanese},
      {"a headline with a single kana", u"東京都知事選挙結果発表へ", kChinese, kJapanese},
      {"katakana with the prolonged sound mark", u"コンピューターのメモリーを増設しました。", kKorean, kJapanese},
      {"halfwidth katakana alone", u"ｽｰﾊﾟｰﾏｰｹｯﾄ", kChinese, kJapanese},
      {"the prolonged sound mark alone", u"ー", kEnglish, kJapanese},
      {"English words quoted", u"このアプリはWindowsとmacOSとLinuxで動きます。", kEnglish, kJapanese},
      {"a Korean word quoted", u"「ありがとう」は韓国語で「감사합니다」と言います。", kKorean, kJapanese},
      {"a Korean phrase longer than the kana around it", u"韓国語で「안녕하세요」は挨拶です。", kKorean, kJapanese},
      {"as many hangul as kana", u"가あ", kChinese, kJapanese},
  });
}

TEST(ReadingLanguageByScriptTest, HanWithoutKanaOrHangulIsChinese) {
  ExpectChoices({
      {"simplified", u"今天天气很好，我们去公园散步吧。", kJapanese, kChinese},
      {"traditional", u"這是繁體中文的句子，請慢慢閱讀。", kJapanese, kChinese},
      {"English words quoted", u"我最喜欢的电脑品牌是Apple和Lenovo，价格是5999元。", kEnglish, kChinese},
      {"characters beyond the basic plane", u"𠮷𡈽𡌛", kJapanese, kChinese},
      {"the iteration mark counts as Han", u"人々", kEnglish, kChinese},
  });
}

TEST(ReadingLanguageByScriptTest, KoreanIsToldByItsHangul) {
  ExpectChoices({
      {"syllables", u"오늘은 날씨가 좋아서 공원에 산책을 갔습니다.", kJapanese, kKorean},
      {"the mixed script, more Han than hangul", u"大韓民國의 憲法은 1948年에 制定되었다.", kChinese, kKorean},
      {"a Han place name", u"서울에서 東京까지 비행기로 두 시간 걸립니다.", kJapanese, kKorean},
      {"a Japanese greeting quoted", u"저는 日本語를 공부하고 있어요. 「こんにちは」라고 말해요.", kJapanese, kKorean},
      {"compatibility jamo", u"ㅋㅋㅋ", kEnglish, kKorean},
      {"conjoining jamo", u"\u1112\u1161\u11AB\u1100\u1173\u11AF", kEnglish, kKorean},
      {"English words quoted", u"이 노트북은 Windows 11 Pro가 설치되어 있습니다.", kEnglish, kKorean},
  });
}

TEST(ReadingLanguageByScriptTest, LatinLettersAloneAreEnglish) {
  ExpectChoices({
      {"a sentence", u"The quick brown fox jumps over the lazy dog.", kJapanese, kEnglish},
      {"accented letters", u"Café au lait, s'il vous plaît.", kKorean, kEnglish},
      {"fullwidth letters", u"ＡＢＣ　ｆｕｌｌ　ｗｉｄｔｈ", kJapanese, kEnglish},
      {"a Greek letter among English words", u"The angle α measures 30°.", kChinese, kEnglish},
      {"more Cyrillic than Latin", u"Привет, мир! Hello", kJapanese, kJapanese},
  });
}

TEST(ReadingLanguageByScriptTest, TextsWithoutLettersKeepTheCurrentLanguage) {
  ExpectChoices({
      {"empty", u"", kKorean, kKorean},
      {"digits and signs", u"12345 + 678 = 13023", kChinese, kChinese},
      {"CJK punctuation and symbols", u"！？、。…「」☆★♪→・・・", kEnglish, kEnglish},
      {"fullwidth digits", u"２０２４年", kEnglish, kChinese},  // the Han decides, not the digits
      {"emoji", u"😀🎉👍", kJapanese, kJapanese},
      {"a lone surrogate", std::u16string(1, char16_t{0xD800}) + u"42", kKorean, kKorean},
      {"a reversed pair", std::u16string{char16_t{0xDC00}, char16_t{0xD800}}, kEnglish, kEnglish},
      {"spaces and line breaks", u" \t\r\n\u3000", kChinese, kChinese},
  });
}

TEST(ReadingLanguageByScriptTest, ALanguageThatIsNotEnabledKeepsTheCurrentOne) {
  const Enabled noKorean{true, true, true, false};
  ExpectChoices({{"Korean", u"안녕하세요", kEnglish, kEnglish}, {"Japanese", u"こんにちは", kEnglish, kJapanese}},
                noKorean);
  const Enabled japaneseOnly{true, false, false, false};
  ExpectChoices({{"Chinese", u"你好", kJapanese, kJapanese},
                 {"English", u"Hello", kJapanese, kJapanese},
                 {"Japanese", u"やあ", kJapanese, kJapanese}},
                japaneseOnly);
  ExpectChoices({{"nothing enabled", u"Hello", kKorean, kKorean}}, Enabled{});
}

TEST(ReadingLanguageByScriptTest, ALongTextIsCountedWhole) {
  // One kana at the very end of a long Han text still makes it Japanese.
  const std::u16string text = std::u16string(200000, u'漢') + u"の";
  EXPECT_EQ(LanguageByScript(text, kAll, kEnglish), kJapanese);
  EXPECT_EQ(LanguageByScript(std::u16string(200000, u'a'), kAll, kKorean), kEnglish);
}

// --- the choice within a reading ---------------------------------------------------------

class OneTextClipboard : public ClipboardReader {
 public:
  bool HasUnicodeText() override { return true; }
  bool Open() override { return true; }
  std::optional<std::u16string> UnicodeText() override { return text; }
  void Empty() override {}
  void Close() override {}
  std::u16string text;
};

// Gives the code page as the prepared text, so the spoken bytes tell how it was encoded.
class CodePageEncoder : public TextEncoder {
 public:
  std::string Encode(std::u16string_view, uint32_t codePage, size_t) override {
    codePages.push_back(codePage);
    return std::to_string(codePage);
  }
  void TraditionalToSimplified(std::u16string&) override {}
  std::vector<uint32_t> codePages;
};

class ReadingLanguageChoiceTest : public ::testing::Test {
 protected:
  ReadingLanguageChoiceTest() {
    settings.UseLanguageSet = 0x0F;
    settings.languageEnabled = kAll;
    settings.language = kJapanese;
    settings.LanguageByScript = 1;
    // Speed, pitch, volume, pause, commapause, parentheses: Speak takes pitch first.
    for (int l = 0; l < kLanguageCount; ++l) settings.languages[l].voice = {2, 1, 3, 4, 5, 6};
    buttons.Initialize();
    buttons.MarkDrawn();
  }

  // A selection reading from the hot key to the engine, with `text` copied.
  void Read(std::u16string text) {
    reading.ExecuteCommand(Command::SelectionReading);
    host.RedrawIfChanged();
    clipboard.text = std::move(text);
    flags = {.ClipboardWaiting = 0, .ClipboardChanged = 1, .ClipboardTimerRunning = 1};
    tick.OnClipboardTimer();
  }
  std::string LastSpeak() const {
    for (auto it = log.rbegin(); it != log.rend(); ++it) {
      if (it->rfind("Speak ", 0) == 0) return *it;
    }
    return {};
  }
  static std::string SpeakLine(int engineLanguage, const char* codePage, int extra) {
    return "Speak " + std::to_string(engineLanguage) + " " + testing::Hex(codePage) + " 1 2 3 4 5 " +
           std::to_string(extra);
  }

  CallLog log;
  AppSettings settings;
  ButtonStates buttons;
  testing::FakeEngine engine{log};
  testing::FakeHost host{log, buttons};
  ReadingControl reading{settings, engine, host};
  testing::FakeCapturePlatform platform{log};
  OneTextClipboard clipboard;
  CodePageEncoder encoder;
  CaptureFlags flags;
  TextCapture capture{platform, flags};
  ClipboardToSpeech tick{clipboard, encoder, platform, flags, capture, reading, settings};
};

TEST_F(ReadingLanguageChoiceTest, AKoreanTextIsEncodedAndSpokenInKoreanAndTheButtonShowsIt) {
  Read(u"오늘은 날씨가 좋습니다.");
  EXPECT_EQ(encoder.codePages, std::vector<uint32_t>{949});
  EXPECT_EQ(LastSpeak(), SpeakLine(4, "949", 6));
  EXPECT_EQ(settings.language, kKorean);
  EXPECT_EQ(buttons.Variant(Command::Language), kKorean);
  EXPECT_FALSE(buttons.Changed());  // drawn already, not at some later redraw
  // The reading goes on as any other: stop ends it in the language it speaks.
  reading.ExecuteCommand(Command::Stop);
  EXPECT_EQ(log.back(), "Redraw");
  EXPECT_NE(std::find(log.begin(), log.end(), "Stop 4"), log.end());
}

TEST_F(ReadingLanguageChoiceTest, EachLanguageGetsItsCodePageAndTheNextTextChoosesAgain) {
  struct Step {
    std::u16string text;
    LanguageIndex language;
    uint32_t codePage;
  };
  const Step steps[] = {{u"这是中文。", kChinese, 936},
                        {u"This is English.", kEnglish, 1252},
                        {u"12345", kEnglish, 1252},  // nothing to tell: the language stays
                        {u"これは日本語です。", kJapanese, 932},
                        {u"한국어입니다.", kKorean, 949}};
  for (const Step& step : steps) {
    encoder.codePages.clear();
    Read(step.text);
    EXPECT_EQ(settings.language, step.language);
    EXPECT_EQ(buttons.Variant(Command::Language), step.language);
    EXPECT_EQ(encoder.codePages, std::vector<uint32_t>{step.codePage});
    EXPECT_EQ(LastSpeak(), SpeakLine(EngineLanguage(step.language), std::to_string(step.codePage).c_str(),
                                     step.language == kKorean ? 6 : 0));
    reading.ExecuteCommand(Command::Stop);
  }
}

TEST_F(ReadingLanguageChoiceTest, WithTheOptionOffTheCurrentLanguageReadsEverything) {
  settings.LanguageByScript = 0;
  Read(u"오늘은 날씨가 좋습니다.");
  EXPECT_EQ(encoder.codePages, std::vector<uint32_t>{932});
  EXPECT_EQ(LastSpeak(), SpeakLine(1, "932", 0));
  EXPECT_EQ(settings.language, kJapanese);
  EXPECT_EQ(buttons.Variant(Command::Language), kJapanese);
}

TEST_F(ReadingLanguageChoiceTest, ALanguageThatIsNotEnabledIsNeverChosen) {
  settings.languageEnabled = {true, true, true, false};
  settings.UseLanguageSet = 0x07;
  Read(u"오늘은 날씨가 좋습니다.");
  EXPECT_EQ(settings.language, kJapanese);
  EXPECT_EQ(encoder.codePages, std::vector<uint32_t>{932});
}

// The engine keeps each language's speech apart: a reading paused in Japanese could not be
// resumed or stopped once Korean is current, so it is stopped in Japanese first.
TEST_F(ReadingLanguageChoiceTest, AReadingPausedInThePreviousLanguageIsEndedThere) {
  Read(u"これは日本語です。");
  reading.ExecuteCommand(Command::SelectionReading);  // pause
  ASSERT_EQ(reading.State(ReadKind::Selection), ReadingState::Paused);
  log.clear();

  reading.ExecuteCommand(Command::WholeTextReading);
  clipboard.text = u"안녕하세요.";
  flags = {.ClipboardWaiting = 0, .ClipboardChanged = 1, .ClipboardTimerRunning = 1};
  tick.OnClipboardTimer();
  const auto stop = std::find(log.begin(), log.end(), "Stop 1");
  ASSERT_NE(stop, log.end());
  EXPECT_LT(stop - log.begin(), std::find(log.begin(), log.end(), SpeakLine(4, "949", 6)) - log.begin());
  EXPECT_EQ(reading.State(ReadKind::Selection), ReadingState::Idle);
  EXPECT_EQ(reading.State(ReadKind::WholeText), ReadingState::Speaking);
  // A press of the selection button now starts a new reading instead of resuming nothing.
  log.clear();
  reading.ExecuteCommand(Command::Stop);
  reading.ExecuteCommand(Command::SelectionReading);
  EXPECT_EQ(std::count(log.begin(), log.end(), "Resume 4"), 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "Capture 0"), 1);
}

TEST_F(ReadingLanguageChoiceTest, ATextOfTheCurrentLanguageChangesNothingElse) {
  Read(u"これは日本語です。");
  reading.ExecuteCommand(Command::SelectionReading);  // pause
  log.clear();
  reading.ExecuteCommand(Command::WholeTextReading);
  clipboard.text = u"まだ日本語です。";
  flags = {.ClipboardWaiting = 0, .ClipboardChanged = 1, .ClipboardTimerRunning = 1};
  tick.OnClipboardTimer();
  EXPECT_EQ(std::count(log.begin(), log.end(), "Stop 1"), 0);
  EXPECT_EQ(reading.State(ReadKind::Selection), ReadingState::Paused);
}

}  // namespace
}  // namespace ostrel
