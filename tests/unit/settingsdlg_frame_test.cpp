#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settingsdlg/copy_page_values.h"
#include "settingsdlg/settings_tabs.h"

namespace ostrel {
namespace {

std::vector<std::u16string> Captions(const std::vector<SettingsTab>& tabs) {
  std::vector<std::u16string> captions;
  for (const SettingsTab& tab : tabs) captions.emplace_back(tab.caption);
  return captions;
}

std::array<bool, kLanguageCount> Enabled(int mask) {
  return {(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0};
}

TEST(SettingsDlgFrameTest, TabsForEveryLanguageSet) {
  const std::u16string voice[] = {u"日本語音声", u"中国語音声", u"英語音声", u"韓国語音声"};
  for (int mask = 0; mask < 16; ++mask) {
    const std::vector<SettingsTab> tabs = SettingsTabs(Enabled(mask));
    std::vector<std::u16string> expected;
    for (int l = 0; l < kLanguageCount; ++l) {
      if (mask & (1 << l)) expected.push_back(voice[l]);
    }
    expected.insert(expected.end(), {u"他の設定", u"バージョン情報"});
    EXPECT_EQ(Captions(tabs), expected) << mask;
    EXPECT_EQ(tabs[tabs.size() - 2].page, SettingsPage::kOtherSettings);
    EXPECT_EQ(tabs.back().page, SettingsPage::kAbout);
    for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
      const int tab = InitialTab(tabs, l);
      if (mask & (1 << l)) {
        EXPECT_EQ(Captions(tabs)[tab], voice[l]) << mask << " " << l;
      } else {
        EXPECT_EQ(tab, 0) << mask << " " << l;
      }
    }
  }
  EXPECT_EQ(InitialTab(SettingsTabs(Enabled(15)), kEnglish), 2);
  const auto koreanOnly = SettingsTabs(Enabled(8));
  EXPECT_EQ(Captions(koreanOnly), (std::vector<std::u16string>{u"韓国語音声", u"他の設定", u"バージョン情報"}));
  EXPECT_EQ(InitialTab(koreanOnly, kKorean), 0);
  EXPECT_EQ(InitialTab(SettingsTabs(Enabled(0)), kJapanese), 0);
  // A language outside the table (a hand-edited registry) opens on the first tab too.
  EXPECT_EQ(InitialTab(SettingsTabs(Enabled(15)), 4), 0);
  EXPECT_EQ(InitialTab(SettingsTabs(Enabled(15)), -1), 0);
}

// The copies never reach a control.
class NullVoiceView final : public VoicePageView {
 public:
  WindowId PageWindow() const override { return 0; }
  void SetSliderRange(VoiceParameterId, int32_t, int32_t) override {}
  void SetSliderTicFrequency(VoiceParameterId, int32_t) override {}
  void SetSliderPos(VoiceParameterId, int32_t) override {}
  int32_t SliderPos(VoiceParameterId) const override { return 0; }
  std::u16string NumberBoxText(VoiceParameterId) const override { return {}; }
  void SetNumberBoxText(VoiceParameterId, std::u16string_view) override {}
  void SetGroupCaption(VoiceParameterId, std::u16string_view) override {}
  void SetTestCaption(std::u16string_view) override {}
  void ShowRangeMessage(std::u16string_view, std::u16string_view) override {}
  void SetPathText(std::u16string_view) override {}
  void SetSampleSentence(std::u16string_view, const SampleFont&) override {}
  std::u16string SampleText() const override { return {}; }
  void AddCodeListEntry(std::u16string_view) override {}
  void SelectCodeListEntry(int32_t) override {}
  std::u16string ParenthesisBoxText() const override { return {}; }
  void SetParenthesisBoxText(std::u16string_view) override {}
};

class NullOtherView final : public OtherSettingsView {
 public:
  void SetHotKey(int, uint16_t) override {}
  void SetSliderRange(int32_t, int32_t) override {}
  void SetSliderTicFrequency(int32_t) override {}
  void SetSliderPos(int32_t) override {}
  int32_t SliderPos() const override { return 0; }
  std::u16string NumberBoxText() const override { return {}; }
  void SetNumberBoxText(std::u16string_view) override {}
  void SetGroupCaption(std::u16string_view) override {}
  void SetOptionChecked(ReadingOption, bool) override {}
  bool OptionChecked(ReadingOption) const override { return false; }
  void ShowRangeMessage(std::u16string_view, std::u16string_view) override {}
};

class NullEngine final : public SpeechEngine {
 public:
  EngineReport StartLanguage(int32_t) override { return {}; }
  void Speak(WindowId, int32_t, const char*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) override {}
  void Stop(WindowId, int32_t) override {}
  void Pause(WindowId, int32_t) override {}
  void Resume(WindowId, int32_t) override {}
  void SetUserDictionary(WindowId, int32_t, const char*) override {}
  void CloseLanguage(WindowId, int32_t) override {}
};

class SettingsDlgCopyTest : public ::testing::Test {
 protected:
  SettingsDlgCopyTest() {
    for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
      LanguageSettings& ls = settings.languages[l];
      ls.voice = {10 + l, 20 + l, 30 + l, 40 + l, 50 + l, 60 + l};
      ls.UserDicPath = u"C:\\dic" + std::u16string(1, static_cast<char16_t>(u'0' + l)) + u".csv";
      ls.codepage = 2;
    }
    settings.Alpha = 200;
    settings.Alpha_Min = 55;
    settings.Alpha_Max = 255;
  }

  AppSettings settings;
  NullVoiceView voiceView;
  NullOtherView otherView;
  NullEngine engine;
  std::array<VoicePage, kLanguageCount> voice{
      VoicePage{kVoicePageKinds[0], voiceView, engine, {}}, VoicePage{kVoicePageKinds[1], voiceView, engine, {}},
      VoicePage{kVoicePageKinds[2], voiceView, engine, {}}, VoicePage{kVoicePageKinds[3], voiceView, engine, {}}};
  VoicePages pages{&voice[0], &voice[1], &voice[2], &voice[3]};
  OtherSettingsPage other{otherView};
};

TEST_F(SettingsDlgCopyTest, ValuesTravelBothWaysForEnabledLanguagesOnly) {
  settings.languageEnabled = {false, true, false, true};
  CopyIntoPages(settings, pages, other);
  EXPECT_EQ(voice[kChinese].speed, 11);
  EXPECT_EQ(voice[kChinese].pitch, 21);
  EXPECT_EQ(voice[kChinese].volume, 31);
  EXPECT_EQ(voice[kChinese].pause, 41);
  EXPECT_EQ(voice[kChinese].commapause, 51);
  EXPECT_EQ(voice[kChinese].UserDicPath, u"C:\\dic1.csv");
  EXPECT_EQ(voice[kChinese].codepage, 2);
  EXPECT_EQ(voice[kChinese].ParenthesisCharNumber, 0);  // Korean only
  EXPECT_EQ(voice[kKorean].ParenthesisCharNumber, 63);
  EXPECT_EQ(voice[kKorean].codepage, 0);  // Chinese only
  EXPECT_EQ(voice[kJapanese].speed, 0);
  EXPECT_EQ(voice[kJapanese].UserDicPath, u"");
  EXPECT_EQ(other.Alpha, 200);
  EXPECT_EQ(other.Alpha_Min, 55);
  EXPECT_EQ(other.Alpha_Max, 255);

  const AppSettings before = settings;
  for (VoicePage& page : voice) {
    page.speed = page.pitch = page.volume = page.pause = page.commapause = 99;
    page.UserDicPath = u"D:\\new.csv";
    page.codepage = 3;
    page.ParenthesisCharNumber = 7;
  }
  other.Alpha = 120;
  other.Alpha_Min = 1;
  other.Alpha_Max = 2;
  EXPECT_EQ(CopyBackAfterOk(settings, pages, other), 120);
  EXPECT_EQ(settings.Alpha, 120);
  EXPECT_EQ(settings.Alpha_Min, 55);
  EXPECT_EQ(settings.Alpha_Max, 255);
  for (LanguageIndex l : {kJapanese, kEnglish}) {
    EXPECT_EQ(settings.languages[l].voice.speed, before.languages[l].voice.speed);
    EXPECT_EQ(settings.languages[l].voice.ParenthesisCharNumber, before.languages[l].voice.ParenthesisCharNumber);
    EXPECT_EQ(settings.languages[l].UserDicPath, before.languages[l].UserDicPath);
    EXPECT_EQ(settings.languages[l].codepage, before.languages[l].codepage);
  }
  const VoiceParameters& chinese = settings.languages[kChinese].voice;
  EXPECT_EQ((std::array{chinese.speed, chinese.pitch, chinese.volume, chinese.pause, chinese.commapause}),
            (std::array{99, 99, 99, 99, 99}));
  EXPECT_EQ(chinese.ParenthesisCharNumber, 61);
  EXPECT_EQ(settings.languages[kChinese].codepage, 3);
  EXPECT_EQ(settings.languages[kChinese].UserDicPath, u"D:\\new.csv");
  EXPECT_EQ(settings.languages[kKorean].voice.ParenthesisCharNumber, 7);
  EXPECT_EQ(settings.languages[kKorean].codepage, 2);
  EXPECT_EQ(settings.HotKeySelRead, before.HotKeySelRead);
}

TEST_F(SettingsDlgCopyTest, ReadingOptionsTravelBothWays) {
  settings.languageEnabled = {true, false, false, false};
  settings.KeepClipboard = 1;
  settings.QuickCapture = 1;
  CopyIntoPages(settings, pages, other);
  EXPECT_TRUE(other.KeepClipboard);
  EXPECT_FALSE(other.LanguageByScript);
  EXPECT_TRUE(other.QuickCapture);

  other.KeepClipboard = false;
  other.LanguageByScript = true;
  CopyBackAfterOk(settings, pages, other);
  EXPECT_EQ(settings.KeepClipboard, 0);
  EXPECT_EQ(settings.LanguageByScript, 1);
  EXPECT_EQ(settings.QuickCapture, 1);
}

}  // namespace
}  // namespace ostrel
