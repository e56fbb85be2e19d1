#include "settingsdlg/voice_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settingsdlg/format_number.h"
#include "settingsdlg/page_texts.h"

namespace ostrel {
namespace {

constexpr WindowId kPageWindow = 0x5150;
const VoiceRanges kRanges{{{0, 100, 500}, {50, 100, 250}, {50, 100, 200}, {0, 800, 65535}, {0, 300, 65535}}};

// Behaves like the page's controls: sliders clamp, setting a box's text runs its EN_CHANGE
// handling at once, and every call is journaled so the order can be checked.
class FakeVoiceView final : public VoicePageView {
 public:
  struct Slider {
    int32_t min = 0, max = 100, tic = 0, pos = 0;  // a fresh trackbar's range
  };
  struct Message {
    std::u16string text, caption, boxAtMessage;
    int32_t fieldAtMessage;
  };

  explicit FakeVoiceView(LanguageIndex language) {
    // The Japanese and English templates carry the sentence; the others start empty.
    if (VoicePageKind(language).sampleFont.face.empty()) sample = VoicePageKind(language).sampleSentence;
  }

  WindowId PageWindow() const override { return kPageWindow; }
  void SetSliderRange(VoiceParameterId p, int32_t min, int32_t max) override {
    sliders[p].min = min;
    sliders[p].max = max;
    SetSliderPos(p, sliders[p].pos);
  }
  void SetSliderTicFrequency(VoiceParameterId p, int32_t frequency) override { sliders[p].tic = frequency; }
  void SetSliderPos(VoiceParameterId p, int32_t position) override {
    // The trackbar's own order: the minimum first, so an empty range ends at its maximum.
    if (position < sliders[p].min) position = sliders[p].min;
    if (position > sliders[p].max) position = sliders[p].max;
    sliders[p].pos = position;
  }
  int32_t SliderPos(VoiceParameterId p) const override { return sliders[p].pos; }
  std::u16string NumberBoxText(VoiceParameterId p) const override { return boxes[p]; }
  void SetNumberBoxText(VoiceParameterId p, std::u16string_view text) override {
    journal.push_back(u"box" + std::u16string(1, u'0' + p) + u"=" + std::u16string(text));
    boxes[p] = text;
    page->NumberTyped(p);
  }
  void SetGroupCaption(VoiceParameterId p, std::u16string_view caption) override { captions[p] = caption; }
  void SetTestCaption(std::u16string_view caption) override { testCaption = caption; }
  void ShowRangeMessage(std::u16string_view text, std::u16string_view caption) override {
    journal.push_back(u"message");
    const VoiceParameterId p = ParameterOfCaption(caption);
    const int32_t fields[] = {page->volume, page->speed, page->pitch, page->pause, page->commapause};
    messages.push_back({std::u16string(text), std::u16string(caption), boxes[p], fields[p]});
  }
  void SetPathText(std::u16string_view path) override { pathText = path; }
  void SetSampleSentence(std::u16string_view text, const SampleFont& font) override {
    journal.push_back(u"sample");
    sample = text;
    sampleFont = font;
  }
  std::u16string SampleText() const override { return sample; }
  void AddCodeListEntry(std::u16string_view text) override { journal.push_back(u"code " + std::u16string(text)); }
  void SelectCodeListEntry(int32_t index) override { journal.push_back(u"select " + FormatNumber(index)); }
  std::u16string ParenthesisBoxText() const override { return parenthesisBox; }
  void SetParenthesisBoxText(std::u16string_view text) override {
    journal.push_back(u"parenthesis=" + std::u16string(text));
    parenthesisBox = text;
    page->ParenthesisTyped();
  }

  // What the user does.
  void Type(VoiceParameterId p, std::u16string_view text) { SetNumberBoxText(p, text); }
  void Drag(VoiceParameterId p, int32_t position) {
    SetSliderPos(p, position);
    page->SliderMoved(p);
  }

  VoicePage* page = nullptr;
  std::array<Slider, kVoiceParameterCount> sliders{};
  std::array<std::u16string, kVoiceParameterCount> boxes, captions;
  std::u16string testCaption = u"テスト", pathText, sample, parenthesisBox;
  SampleFont sampleFont;
  std::vector<Message> messages;
  std::vector<std::u16string> journal;

 private:
  static VoiceParameterId ParameterOfCaption(std::u16string_view caption) {
    for (int p = 0; p < kVoiceParameterCount; ++p) {
      if (page_texts::kRangeMessageCaptions[p] == caption) return static_cast<VoiceParameterId>(p);
    }
    ADD_FAILURE() << "unknown caption";
    return kVolume;
  }
};

class FakeEngine final : public SpeechEngine {
 public:
  struct Call {
    std::string op;
    WindowId window;
    int32_t language;
    std::string text;
    std::array<int32_t, 6> values{};  // pitch, speed, volume, pause, commapause, extra
  };
  EngineReport StartLanguage(int32_t) override { return {}; }
  void Speak(WindowId w, int32_t l, const char* text, int32_t pitch, int32_t speed, int32_t volume, int32_t pause,
             int32_t commapause, int32_t extra) override {
    calls.push_back({"Speak", w, l, text, {pitch, speed, volume, pause, commapause, extra}});
  }
  void Stop(WindowId w, int32_t l) override { calls.push_back({"Stop", w, l, "", {}}); }
  void Pause(WindowId, int32_t) override {}
  void Resume(WindowId, int32_t) override {}
  void SetUserDictionary(WindowId, int32_t, const char*) override {}
  void CloseLanguage(WindowId, int32_t) override {}
  std::vector<Call> calls;
};

// One page with its controls, its engine and an encoder that names the code page it was asked for.
struct Rig {
  explicit Rig(LanguageIndex language)
      : view(language), page(VoicePageKind(language), view, engine, [this](std::u16string_view text, uint32_t cp) {
          encoded.emplace_back(text);
          return "cp" + std::to_string(cp);
        }) {
    view.page = &page;
    page.volume = page.speed = page.pitch = 100;
    page.pause = 800;
    page.commapause = 300;
    page.UserDicPath = u"C:\\dic\\user.csv";
  }
  FakeVoiceView view;
  FakeEngine engine;
  std::vector<std::u16string> encoded;
  VoicePage page;
};

TEST(SettingsDlgVoicePageTest, InitializeShowsTheValuesWithinTheEngineRanges) {
  Rig rig(kJapanese);
  rig.page.Testing = 1;
  rig.page.Initialize(kRanges);
  EXPECT_EQ(rig.page.Testing, 0);
  const int32_t tics[] = {50, 20, 15, 6553, 6553};
  const char16_t* captions[] = {u"ボリューム (0 - 500)", u"スピード (50 - 250)", u"ピッチ (50 - 200)",
                                u"文章間ポーズ (0 - 65535)", u"句点（カンマ）ポーズ (0 - 65535)"};
  const char16_t* boxes[] = {u"100", u"100", u"100", u"800", u"300"};
  for (int p = 0; p < kVoiceParameterCount; ++p) {
    EXPECT_EQ(rig.view.sliders[p].min, kRanges[p].min);
    EXPECT_EQ(rig.view.sliders[p].max, kRanges[p].max);
    EXPECT_EQ(rig.view.sliders[p].tic, tics[p]);
    EXPECT_EQ(rig.view.captions[p], captions[p]);
    EXPECT_EQ(rig.view.boxes[p], boxes[p]);
  }
  EXPECT_EQ(rig.view.sliders[kPause].pos, 800);
  EXPECT_EQ(rig.view.pathText, u"C:\\dic\\user.csv");
  EXPECT_TRUE(rig.view.messages.empty());
  EXPECT_EQ(rig.view.sample, page_texts::kSampleSentences[kJapanese]);  // the template's, untouched
}

TEST(SettingsDlgVoicePageTest, StoredValueOutsideItsRangeIsReportedOnceAndClamped) {
  Rig rig(kJapanese);
  rig.page.volume = 1000;
  rig.page.pitch = -3;
  rig.page.Initialize(kRanges);
  ASSERT_EQ(rig.view.messages.size(), 2u);
  EXPECT_EQ(rig.view.messages[0].text, u"0-500の範囲で値を設定してください。");
  EXPECT_EQ(rig.view.messages[0].caption, u"ボリューム");
  EXPECT_EQ(rig.view.messages[0].boxAtMessage, u"1000");  // the box first received the stored value
  EXPECT_EQ(rig.view.messages[0].fieldAtMessage, 1000);
  EXPECT_EQ(rig.view.messages[1].text, u"50-200の範囲で値を設定してください。");
  EXPECT_EQ(rig.view.messages[1].caption, u"ピッチ");
  EXPECT_EQ(rig.view.boxes[kVolume], u"500");
  EXPECT_EQ(rig.page.volume, 500);
  EXPECT_EQ(rig.view.boxes[kPitch], u"50");
  EXPECT_EQ(rig.page.pitch, 50);
}

TEST(SettingsDlgVoicePageTest, ChineseAndKoreanExtrasComeInTheirPlaces) {
  Rig chinese(kChinese);
  chinese.page.codepage = 2;
  chinese.page.Initialize(kRanges);
  const auto& cj = chinese.view.journal;
  ASSERT_GE(cj.size(), 5u);
  EXPECT_EQ(std::vector<std::u16string>(cj.begin(), cj.begin() + 5),
            (std::vector<std::u16string>{u"code GB", u"code BIG5", u"code XR(簡体字)", u"code XR(繁体字)", u"select 2"}));
  EXPECT_EQ(cj.back(), u"sample");  // after the boxes
  EXPECT_EQ(chinese.view.sample, u"这是中文语音合成的测试。");
  EXPECT_EQ(chinese.view.sampleFont.face, u"SimSun");
  EXPECT_EQ(chinese.view.sampleFont.charset, 134);
  EXPECT_EQ(chinese.view.sampleFont.height, -16);

  Rig korean(kKorean);
  korean.page.ParenthesisCharNumber = 3;
  korean.page.Initialize(kRanges);
  const auto& kj = korean.view.journal;
  ASSERT_GE(kj.size(), 3u);
  EXPECT_EQ(kj[kj.size() - 3], u"box4=300");
  EXPECT_EQ(kj[kj.size() - 2], u"parenthesis=3");
  EXPECT_EQ(kj.back(), u"sample");
  EXPECT_EQ(korean.page.ParenthesisCharNumber, 3);
  EXPECT_EQ(korean.view.sample, u"이것은 한국어음성의 테스트입니다.");
  EXPECT_EQ(korean.view.sampleFont.face, u"Batang");
  EXPECT_EQ(korean.view.sampleFont.charset, 129);
  EXPECT_EQ(korean.view.sampleFont.height, -13);
}

TEST(SettingsDlgVoicePageTest, SliderAndBoxFollowEachOther) {
  Rig rig(kJapanese);
  rig.page.Initialize(kRanges);
  rig.view.Drag(kPause, 12345);
  EXPECT_EQ(rig.view.boxes[kPause], u"12345");
  EXPECT_EQ(rig.page.pause, 12345);

  rig.view.Type(kVolume, u"12abc");
  EXPECT_EQ(rig.page.volume, 12);
  EXPECT_EQ(rig.view.sliders[kVolume].pos, 12);
  rig.view.Type(kVolume, u"+7");
  EXPECT_EQ(rig.page.volume, 7);
  EXPECT_TRUE(rig.view.messages.empty());

  rig.view.Type(kVolume, u"-5");  // read as -5, below 0
  ASSERT_EQ(rig.view.messages.size(), 1u);
  EXPECT_EQ(rig.view.messages[0].fieldAtMessage, 7);
  EXPECT_EQ(rig.view.boxes[kVolume], u"7");
}

TEST(SettingsDlgVoicePageTest, ClearingOrOvertypingABoxFailsAtOnceAndRestoresTheSlider) {
  Rig rig(kJapanese);
  rig.page.Initialize(kRanges);
  rig.view.Type(kSpeed, u"");
  ASSERT_EQ(rig.view.messages.size(), 1u);
  EXPECT_EQ(rig.view.messages[0].text, u"50-250の範囲で値を設定してください。");
  EXPECT_EQ(rig.view.messages[0].caption, u"スピード");
  EXPECT_EQ(rig.view.boxes[kSpeed], u"100");
  EXPECT_EQ(rig.page.speed, 100);

  // Typing 150 over the selected text: the first digit alone is already out of range.
  rig.view.Type(kSpeed, u"1");
  EXPECT_EQ(rig.view.messages.size(), 2u);
  EXPECT_EQ(rig.view.boxes[kSpeed], u"100");
  // Editing a digit in place works.
  rig.view.Type(kSpeed, u"150");
  EXPECT_EQ(rig.page.speed, 150);
  EXPECT_EQ(rig.view.sliders[kSpeed].pos, 150);

  std::vector<std::u16string> captions;
  for (int p = 0; p < kVoiceParameterCount; ++p) rig.view.Type(static_cast<VoiceParameterId>(p), u"-1");
  for (size_t i = 2; i < rig.view.messages.size(); ++i) captions.push_back(rig.view.messages[i].caption);
  EXPECT_EQ(captions, (std::vector<std::u16string>{u"ボリューム", u"スピード", u"ピッチ", u"文章間ポーズ",
                                                   u"句点（カンマ）ポーズ"}));
}

TEST(SettingsDlgVoicePageTest, EmptyRangeReportsOnceInsteadOfForever) {
  Rig rig(kEnglish);
  VoiceRanges broken = kRanges;
  broken[kVolume] = {10, 7, 5};  // minimum above maximum: no value fits
  rig.page.Initialize(broken);
  EXPECT_EQ(rig.view.messages.size(), 1u);
  rig.view.Type(kVolume, u"7");
  EXPECT_EQ(rig.view.messages.size(), 2u);
  rig.view.Drag(kVolume, 0);  // the slider's own position is not complained about
  EXPECT_EQ(rig.view.messages.size(), 2u);
}

TEST(SettingsDlgVoicePageTest, DefaultsTakeTheEngineDefaultsAndKoreanResetsTheParenthesisCount) {
  for (LanguageIndex language : {kJapanese, kKorean}) {
    Rig rig(language);
    rig.page.ParenthesisCharNumber = 4;
    rig.page.Initialize(kRanges);
    rig.view.Drag(kVolume, 480);
    rig.view.Type(kCommaPause, u"9");
    rig.page.Defaults();
    const int32_t fields[] = {rig.page.volume, rig.page.speed, rig.page.pitch, rig.page.pause, rig.page.commapause};
    for (int p = 0; p < kVoiceParameterCount; ++p) {
      EXPECT_EQ(fields[p], kRanges[p].def);
      EXPECT_EQ(rig.view.sliders[p].pos, kRanges[p].def);
      EXPECT_EQ(rig.view.boxes[p], FormatNumber(kRanges[p].def));
    }
    EXPECT_EQ(rig.page.ParenthesisCharNumber, language == kKorean ? 0 : 4);
    EXPECT_EQ(rig.view.parenthesisBox, language == kKorean ? u"0" : u"");
  }
}

TEST(SettingsDlgVoicePageTest, TestButtonSpeaksThePageValuesAndStopsOnTheSecondClick) {
  const struct {
    LanguageIndex language;
    int32_t engineLanguage;
    const char* text;
    int32_t extra;
  } pages[] = {{kJapanese, 1, "cp932", 0}, {kChinese, 2, "cp936", 0}, {kEnglish, 3, "cp0", 0}, {kKorean, 4, "cp949", 6}};
  for (const auto& expected : pages) {
    Rig rig(expected.language);
    rig.page.ParenthesisCharNumber = 6;
    rig.page.codepage = 1;
    rig.page.Initialize(kRanges);
    rig.page.CodeChosen(3);  // the code list does not touch the test
    rig.view.Drag(kPitch, 150);
    rig.page.Test();
    ASSERT_EQ(rig.engine.calls.size(), 2u);
    EXPECT_EQ(rig.engine.calls[0].op, "Stop");
    const FakeEngine::Call& speak = rig.engine.calls[1];
    EXPECT_EQ(speak.op, "Speak");
    EXPECT_EQ(speak.window, kPageWindow);
    EXPECT_EQ(speak.language, expected.engineLanguage);
    EXPECT_EQ(speak.text, expected.text);
    EXPECT_EQ(speak.values, (std::array<int32_t, 6>{150, 100, 100, 800, 300, expected.extra}));
    EXPECT_EQ(rig.encoded, std::vector<std::u16string>{std::u16string(page_texts::kSampleSentences[expected.language])});
    EXPECT_EQ(rig.view.testCaption, u"停止");
    EXPECT_EQ(rig.page.Testing, 1);

    rig.page.Test();
    ASSERT_EQ(rig.engine.calls.size(), 3u);
    EXPECT_EQ(rig.engine.calls[2].op, "Stop");
    EXPECT_EQ(rig.engine.calls[2].language, expected.engineLanguage);
    EXPECT_EQ(rig.view.testCaption, u"テスト");
    EXPECT_EQ(rig.page.Testing, 0);
  }
}

TEST(SettingsDlgVoicePageTest, OnlyTheEndOfTextEndsATest) {
  Rig rig(kJapanese);
  rig.page.Initialize(kRanges);
  rig.page.Test();
  for (intptr_t lParam : {0, 1, 2, -2}) {
    rig.page.TestEnded(lParam);
    EXPECT_EQ(rig.page.Testing, 1);
    EXPECT_EQ(rig.view.testCaption, u"停止");
  }
  rig.page.TestEnded(-1);
  EXPECT_EQ(rig.page.Testing, 0);
  EXPECT_EQ(rig.view.testCaption, u"テスト");
  EXPECT_EQ(rig.engine.calls.size(), 2u);  // ending needs no Stop
}

TEST(SettingsDlgVoicePageTest, ChoosingADictionaryStopsTheSpeechButKeepsTheTestCaption) {
  Rig rig(kKorean);
  rig.page.Initialize(kRanges);
  rig.page.Test();
  EXPECT_EQ(rig.page.ChooseDictionaryFolder(), u"C:\\dic\\");
  ASSERT_EQ(rig.engine.calls.size(), 3u);
  EXPECT_EQ(rig.engine.calls[2].op, "Stop");
  EXPECT_EQ(rig.engine.calls[2].language, 4);
  EXPECT_EQ(rig.view.testCaption, u"停止");
  EXPECT_EQ(rig.page.Testing, 1);
  rig.page.DictionaryChosen(u"D:\\my dic.csv");
  EXPECT_EQ(rig.page.UserDicPath, u"D:\\my dic.csv");
  EXPECT_EQ(rig.view.pathText, u"D:\\my dic.csv");

  rig.page.Test();  // stops once more
  EXPECT_EQ(rig.engine.calls.size(), 4u);
  EXPECT_EQ(rig.view.testCaption, u"テスト");

  const struct {
    std::u16string path, folder;
  } folders[] = {{u"", u"\\"}, {u"C:\\user.csv", u"C:\\"}, {u"\\user.csv", u"\\"}, {u"user.csv", u"\\"}};
  for (const auto& f : folders) {
    rig.page.UserDicPath = f.path;
    EXPECT_EQ(rig.page.ChooseDictionaryFolder(), f.folder);
  }
}

TEST(SettingsDlgVoicePageTest, EditorIsStartedFromTheLanguageFolderWithTheQuotedPath) {
  const std::u16string dir = u"C:\\Program Files\\Ostrel\\";
  const char16_t* programs[] = {u"VW\\VT\\Misaki\\M16\\bin\\UserDicJpn.exe", u"VW\\VT\\Hui\\M16\\bin\\UserDicChi.exe",
                                u"VW\\VT\\Kate\\M16\\bin\\UserDicEng.exe", u"VW\\VT\\Yumi\\M16\\bin\\UserDicKor.exe"};
  for (LanguageIndex language = 0; language < kLanguageCount; ++language) {
    Rig rig(language);
    const EditorCommand command = rig.page.EditorLaunch(dir);
    EXPECT_EQ(command.program, dir + programs[language]);
    EXPECT_EQ(command.folder + page_texts::kEditorPrograms[language].data(), command.program);
    EXPECT_EQ(command.parameter, u"\"C:\\dic\\user.csv\"");
  }
  Rig rig(kJapanese);
  rig.page.UserDicPath.clear();
  EXPECT_EQ(rig.page.EditorLaunch(dir).parameter, u"\"\"");
}

// The editor, started from the page, saved the dictionary elsewhere and stored that path.
TEST(SettingsDlgVoicePageTest, APathTheEditorStoredReplacesOneTheUserLeftAlone) {
  const std::u16string dir = u"C:\\Program Files\\Ostrel\\";
  Rig rig(kJapanese);
  rig.page.storedUserDicPath = rig.page.UserDicPath;
  rig.page.StoredDictionaryPath(u"C:\\dic\\user.csv");
  EXPECT_EQ(rig.view.pathText, u"");  // nothing changed, nothing shown anew
  rig.page.StoredDictionaryPath(u"E:\\roaming\\user.csv");
  EXPECT_EQ(rig.page.UserDicPath, u"E:\\roaming\\user.csv");
  EXPECT_EQ(rig.view.pathText, u"E:\\roaming\\user.csv");
  EXPECT_EQ(rig.page.EditorLaunch(dir).parameter, u"\"E:\\roaming\\user.csv\"");

  rig.page.DictionaryChosen(u"D:\\mine.csv");
  rig.page.StoredDictionaryPath(u"F:\\other.csv");
  EXPECT_EQ(rig.page.UserDicPath, u"D:\\mine.csv");
  EXPECT_EQ(rig.view.pathText, u"D:\\mine.csv");
}

TEST(SettingsDlgVoicePageTest, CodeAndParenthesisCountAreTakenAsChosen) {
  Rig chinese(kChinese);
  chinese.page.Initialize(kRanges);
  chinese.page.CodeChosen(3);
  EXPECT_EQ(chinese.page.codepage, 3);
  chinese.page.CodeChosen(-1);  // no selection is no choice
  EXPECT_EQ(chinese.page.codepage, 3);

  Rig korean(kKorean);
  korean.page.Initialize(kRanges);
  const std::pair<const char16_t*, int32_t> counts[] = {{u"-3", -3}, {u"12abc", 12}, {u"x", 0}, {u"99999999999", 2147483647}};
  for (const auto& [text, count] : counts) {
    korean.view.SetParenthesisBoxText(text);
    EXPECT_EQ(korean.page.ParenthesisCharNumber, count);
  }
  EXPECT_TRUE(korean.view.messages.empty());
}

}  // namespace
}  // namespace ostrel
