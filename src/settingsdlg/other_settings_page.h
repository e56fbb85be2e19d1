#pragma once
#include <cstdint>

#include "settingsdlg/hot_key_words.h"
#include "settingsdlg/other_settings_view.h"

namespace ostrel {

// The hot keys, the toolbar's transparency and the reading options. The transparency and the
// options work on copies the dialog's caller fills and takes back after OK; the hot keys are
// taken from the controls by ApplyHotKeys.
class OtherSettingsPage {
 public:
  explicit OtherSettingsPage(OtherSettingsView& view) : view_(view) {}
  OtherSettingsPage(const OtherSettingsPage&) = delete;
  OtherSettingsPage& operator=(const OtherSettingsPage&) = delete;

  int32_t Alpha = 0;  // 255 opaque
  int32_t Alpha_Min = 0;
  int32_t Alpha_Max = 0;
  bool KeepClipboard = false;
  bool LanguageByScript = false;
  bool QuickCapture = false;

  // The page window has been created and its hot-key controls have their rules.
  void Initialize(const HotKeyWords& hotKeys);
  // WM_HSCROLL from the transparency slider.
  void SliderMoved();
  // EN_CHANGE of the number box.
  void NumberTyped();
  // BN_CLICKED of an option's check box, which has already changed its mark.
  void OptionClicked(ReadingOption option);
  // The defaults button: the default hot keys, opaque, every option off. The hot keys take
  // effect only through ApplyHotKeys.
  void Defaults();

 private:
  // As on the voice pages: a slider outside an empty range is not complained about again.
  void ShowSliderInBox();
  void ShowOptions();
  bool& Option(ReadingOption option);

  OtherSettingsView& view_;
  bool showingSlider_ = false;
};

}  // namespace ostrel
