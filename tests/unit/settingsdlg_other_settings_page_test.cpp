#include "settingsdlg/other_settings_page.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "settingsdlg/apply_hot_keys.h"

namespace ostrel {
namespace {

// The page's controls: the slider clamps, the box runs its EN_CHANGE handling at once.
class FakeOtherView final : public OtherSettingsView {
 public:
  struct Message {
    std::u16string text, caption, boxAtMessage;
    int32_t alphaAtMessage;
  };
  void SetHotKey(int id, uint16_t word) override { hotKeys[id - 1] = word; }
  void SetSliderRange(int32_t min, int32_t max) override {
    sliderMin = min;
    sliderMax = max;
  }
  void SetSliderTicFrequency(int32_t frequency) override { tic = frequency; }
  void SetSliderPos(int32_t position) override {
    if (position < sliderMin) position = sliderMin;
    if (position > sliderMax) position = sliderMax;
    pos = position;
  }
  int32_t SliderPos() const override { return pos; }
  std::u16string NumberBoxText() const override { return box; }
  void SetNumberBoxText(std::u16string_view text) override {
    box = text;
    page->NumberTyped();
  }
  void SetGroupCaption(std::u16string_view text) override { caption = text; }
  void SetOptionChecked(ReadingOption option, bool checked) override { boxes[static_cast<size_t>(option)] = checked; }
  bool OptionChecked(ReadingOption option) const override { return boxes[static_cast<size_t>(option)]; }
  void ShowRangeMessage(std::u16string_view text, std::u16string_view messageCaption) override {
    messages.push_back({std::u16string(text), std::u16string(messageCaption), box, page->Alpha});
  }

  OtherSettingsPage* page = nullptr;
  HotKeyWords hotKeys{};
  std::array<bool, 3> boxes{};  // the check boxes' marks, by ReadingOption
  int32_t sliderMin = 0, sliderMax = 100, tic = 0, pos = 0;
  std::u16string box, caption;
  std::vector<Message> messages;
};

struct Rig {
  explicit Rig(int32_t alpha, int32_t min = 55, int32_t max = 255) {
    view.page = &page;
    page.Alpha = alpha;
    page.Alpha_Min = min;
    page.Alpha_Max = max;
  }
  FakeOtherView view;
  OtherSettingsPage page{view};
};

TEST(SettingsDlgOtherSettingsPageTest, InitializeShowsHotKeysAndTransparency) {
  Rig rig(200);
  rig.page.Initialize({0x0250, 0, 0x0641});
  EXPECT_EQ(rig.view.hotKeys, (HotKeyWords{0x0250, 0, 0x0641}));
  EXPECT_EQ(rig.view.sliderMin, 55);
  EXPECT_EQ(rig.view.sliderMax, 255);
  EXPECT_EQ(rig.view.tic, 20);
  EXPECT_EQ(rig.view.pos, 200);
  EXPECT_EQ(rig.view.box, u"200");
  EXPECT_EQ(rig.view.caption, u"透過度 (55 - 255)");
  EXPECT_TRUE(rig.view.messages.empty());
  EXPECT_EQ(rig.page.Alpha, 200);
}

TEST(SettingsDlgOtherSettingsPageTest, StoredAlphaBelowTheRangeIsReportedAndRaised) {
  Rig rig(20);
  rig.page.Initialize(kDefaultHotKeys);
  ASSERT_EQ(rig.view.messages.size(), 1u);
  EXPECT_EQ(rig.view.messages[0].text, u"55-255の範囲で値を設定してください。");
  EXPECT_EQ(rig.view.messages[0].caption, u"透過度");
  EXPECT_EQ(rig.view.messages[0].boxAtMessage, u"20");
  EXPECT_EQ(rig.view.messages[0].alphaAtMessage, 20);
  EXPECT_EQ(rig.view.pos, 55);
  EXPECT_EQ(rig.view.box, u"55");
  EXPECT_EQ(rig.page.Alpha, 55);
}

TEST(SettingsDlgOtherSettingsPageTest, TypedValuesOutsideTheRangeLeaveAlphaAndRestoreTheBox) {
  Rig rig(200);
  rig.page.Initialize(kDefaultHotKeys);
  for (const char16_t* text : {u"30", u"", u"1", u"256"}) {
    rig.view.SetNumberBoxText(text);
    ASSERT_FALSE(rig.view.messages.empty());
    EXPECT_EQ(rig.view.messages.back().text, u"55-255の範囲で値を設定してください。");
    EXPECT_EQ(rig.view.messages.back().caption, u"透過度");
    EXPECT_EQ(rig.page.Alpha, 200);
    EXPECT_EQ(rig.view.box, u"200");
  }
  EXPECT_EQ(rig.view.messages.size(), 4u);

  rig.view.SetNumberBoxText(u"255");
  rig.view.SetNumberBoxText(u"155");  // the first digit of 255 overtyped with 1
  EXPECT_EQ(rig.page.Alpha, 155);
  EXPECT_EQ(rig.view.pos, 155);

  rig.view.SetSliderPos(90);
  rig.page.SliderMoved();
  EXPECT_EQ(rig.view.box, u"90");
  EXPECT_EQ(rig.page.Alpha, 90);
  EXPECT_EQ(rig.view.messages.size(), 4u);
}

TEST(SettingsDlgOtherSettingsPageTest, DefaultsShowDefaultHotKeysAndOpacityWithinTheRange) {
  Rig rig(100);
  rig.page.Initialize({0, 0, 0});
  rig.page.Defaults();
  EXPECT_EQ(rig.view.hotKeys, (HotKeyWords{0x0250, 0x0350, 0x0353}));
  EXPECT_EQ(rig.page.Alpha, 255);
  EXPECT_EQ(rig.view.pos, 255);
  EXPECT_EQ(rig.view.box, u"255");
  EXPECT_TRUE(rig.view.messages.empty());

  Rig low(100, 55, 200);
  low.page.Initialize(kDefaultHotKeys);
  low.page.Defaults();
  ASSERT_EQ(low.view.messages.size(), 1u);
  EXPECT_EQ(low.view.messages[0].text, u"55-200の範囲で値を設定してください。");
  EXPECT_EQ(low.view.messages[0].boxAtMessage, u"255");
  EXPECT_EQ(low.view.pos, 200);
  EXPECT_EQ(low.view.box, u"200");
  EXPECT_EQ(low.page.Alpha, 200);
}

TEST(SettingsDlgOtherSettingsPageTest, CheckBoxesShowTheOptionsAndClicksChangeThem) {
  Rig rig(200);
  rig.page.LanguageByScript = true;
  rig.page.Initialize(kDefaultHotKeys);
  EXPECT_EQ(rig.view.boxes, (std::array<bool, 3>{false, true, false}));

  // A click has changed the box's mark before its notification arrives.
  rig.view.boxes = {true, false, false};
  rig.page.OptionClicked(ReadingOption::KeepClipboard);
  rig.page.OptionClicked(ReadingOption::LanguageByScript);
  EXPECT_TRUE(rig.page.KeepClipboard);
  EXPECT_FALSE(rig.page.LanguageByScript);
  EXPECT_FALSE(rig.page.QuickCapture);
  rig.view.boxes[2] = true;
  rig.page.OptionClicked(ReadingOption::QuickCapture);
  EXPECT_TRUE(rig.page.QuickCapture);
  EXPECT_TRUE(rig.page.KeepClipboard);  // the others stay as they were
  EXPECT_EQ(rig.page.Alpha, 200);
}

TEST(SettingsDlgOtherSettingsPageTest, DefaultsTurnEveryOptionOff) {
  Rig rig(100);
  rig.page.KeepClipboard = rig.page.LanguageByScript = rig.page.QuickCapture = true;
  rig.page.Initialize({0x0641, 0, 0});
  ASSERT_EQ(rig.view.boxes, (std::array<bool, 3>{true, true, true}));
  rig.page.Defaults();
  EXPECT_EQ(rig.view.boxes, (std::array<bool, 3>{false, false, false}));
  EXPECT_FALSE(rig.page.KeepClipboard || rig.page.LanguageByScript || rig.page.QuickCapture);
  EXPECT_EQ(rig.view.hotKeys, kDefaultHotKeys);
  EXPECT_EQ(rig.page.Alpha, 255);
}

TEST(SettingsDlgOtherSettingsPageTest, EmptyRangeReportsOnceInsteadOfForever) {
  Rig rig(255, 300, 100);  // a hand-edited registry
  rig.page.Initialize(kDefaultHotKeys);
  EXPECT_EQ(rig.view.messages.size(), 1u);
  EXPECT_EQ(rig.view.tic, 0);
  EXPECT_EQ(rig.page.Alpha, 255);
}

// Registers like the platform: a combination already held (by another program, or by
// another id of ours) is refused.
class FakeRegistrar final : public HotKeyRegistrar {
 public:
  void Unregister(int id) override {
    journal.push_back("unregister " + std::to_string(id));
    registered.erase(id);
  }
  bool Register(int id, uint16_t word) override {
    journal.push_back("register " + std::to_string(id));
    for (const auto& [heldId, heldWord] : registered) {
      if (heldWord == word) return false;
    }
    if (heldElsewhere == word) return false;
    registered[id] = word;
    return true;
  }
  void ShowFailure(int id, std::u16string_view text) override {
    journal.push_back("failure " + std::to_string(id));
    failures.emplace_back(text);
  }
  std::map<int, uint16_t> registered;
  uint16_t heldElsewhere = 0;
  std::vector<std::string> journal;
  std::vector<std::u16string> failures;
};

struct HotKeyRig {
  HotKeyRig() {
    settings.HotKeySelRead = 0x0250;
    settings.HotKeyStop = 0x0353;
    registrar.registered = {{1, 0x0250}, {3, 0x0353}};
  }
  // A non-zero word always means a registered hot key.
  void ExpectWordsMatchRegistrations() {
    const HotKeyWords words = HotKeyWordsOf(settings);
    for (int id = 1; id <= 3; ++id) {
      EXPECT_EQ(words[id - 1] != 0, registrar.registered.count(id) == 1) << id;
      if (words[id - 1] != 0) {
        EXPECT_EQ(registrar.registered[id], words[id - 1]);
      }
    }
  }
  AppSettings settings;
  FakeRegistrar registrar;
};

TEST(SettingsDlgApplyHotKeysTest, ReleasesTheOldKeysAndRegistersTheControlsWords) {
  HotKeyRig rig;
  ApplyHotKeys(rig.settings, {0x0451, 0x0352, 0x0353}, rig.registrar);
  EXPECT_EQ(rig.registrar.journal, (std::vector<std::string>{"unregister 1", "unregister 3", "register 1",
                                                             "register 2", "register 3"}));
  EXPECT_EQ(HotKeyWordsOf(rig.settings), (HotKeyWords{0x0451, 0x0352, 0x0353}));
  EXPECT_TRUE(rig.registrar.failures.empty());
  rig.ExpectWordsMatchRegistrations();
}

TEST(SettingsDlgApplyHotKeysTest, AFailureIsReportedAndClearedAndTheOthersGoOn) {
  HotKeyRig rig;
  rig.registrar.heldElsewhere = 0x0350;
  ApplyHotKeys(rig.settings, {0x0250, 0x0350, 0x0353}, rig.registrar);
  EXPECT_EQ(rig.registrar.failures, std::vector<std::u16string>{u"全文読上げのホットキーの登録に失敗"});
  EXPECT_EQ(HotKeyWordsOf(rig.settings), (HotKeyWords{0x0250, 0, 0x0353}));
  EXPECT_EQ(rig.registrar.journal.back(), "register 3");
  rig.ExpectWordsMatchRegistrations();

  // The same combination in two controls: the second is refused like any held one.
  HotKeyRig twice;
  ApplyHotKeys(twice.settings, {0x0250, 0x0350, 0x0250}, twice.registrar);
  EXPECT_EQ(twice.registrar.failures, std::vector<std::u16string>{u"停止のホットキーの登録に失敗"});
  EXPECT_EQ(HotKeyWordsOf(twice.settings), (HotKeyWords{0x0250, 0x0350, 0}));
  twice.ExpectWordsMatchRegistrations();

  // All three refused: every message once, in id order.
  HotKeyRig none;
  none.registrar.registered = {{7, 0x0101}, {8, 0x0102}, {9, 0x0103}};
  none.settings = {};
  ApplyHotKeys(none.settings, {0x0101, 0x0102, 0x0103}, none.registrar);
  EXPECT_EQ(none.registrar.failures,
            (std::vector<std::u16string>{u"範囲指定読上げのホットキーの登録に失敗", u"全文読上げのホットキーの登録に失敗",
                                         u"停止のホットキーの登録に失敗"}));
  EXPECT_EQ(HotKeyWordsOf(none.settings), (HotKeyWords{0, 0, 0}));
}

TEST(SettingsDlgApplyHotKeysTest, AnEmptyControlIsNotRegistered) {
  HotKeyRig rig;
  ApplyHotKeys(rig.settings, {0, 0x0350, 0x0353}, rig.registrar);
  EXPECT_EQ(rig.registrar.journal,
            (std::vector<std::string>{"unregister 1", "unregister 3", "register 2", "register 3"}));
  EXPECT_EQ(HotKeyWordsOf(rig.settings), (HotKeyWords{0, 0x0350, 0x0353}));
  EXPECT_TRUE(rig.registrar.failures.empty());
  rig.ExpectWordsMatchRegistrations();
}

}  // namespace
}  // namespace ostrel
