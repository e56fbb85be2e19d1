#pragma once
#include <windows.h>

#include "../../resources/settings_ids.h"
#include "settings/app_settings.h"
#include "settingsdlg/hot_key_words.h"
#include "settingsdlg/other_settings_page.h"
#include "settingsdlg/other_settings_view.h"
#include "ui/dialog_impl_win32.h"

namespace ostrel {

// The hot keys, the transparency and the reading options. Alpha, its range and the options
// live in core().
class CDlgSetting : public ui::DialogImpl<CDlgSetting>, private OtherSettingsView {
 public:
  // The page shows the hot keys of `settings`, and ApplyHotKeys writes them back.
  explicit CDlgSetting(AppSettings& settings);
  ~CDlgSetting() override;

  OtherSettingsPage& core() { return core_; }
  const OtherSettingsPage& core() const { return core_; }

  // The window the hot keys are registered on (the toolbar); none registers them for the thread.
  void SetHotKeyWindow(HWND window) { hotKeyWindow_ = window; }

  // The settings dialog's OK: the controls' words into the settings, registered anew.
  void ApplyHotKeys();
  // What the hot-key controls show (the settings' words while the page has no window).
  HotKeyWords ControlWords() const;

 protected:
  BOOL OnInitDialog() override;

 private:
  void OnSliderScrolled(HWND slider);
  void OnNumberChanged();
  void OnDefaults();
  void OnOptionClicked(int id);

  // OtherSettingsView
  void SetHotKey(int id, uint16_t word) override;
  void SetSliderRange(int32_t minimum, int32_t maximum) override;
  void SetSliderTicFrequency(int32_t frequency) override;
  void SetSliderPos(int32_t position) override;
  int32_t SliderPos() const override;
  std::u16string NumberBoxText() const override;
  void SetNumberBoxText(std::u16string_view text) override;
  void SetGroupCaption(std::u16string_view caption) override;
  void SetOptionChecked(ReadingOption option, bool checked) override;
  bool OptionChecked(ReadingOption option) const override;
  void ShowRangeMessage(std::u16string_view text, std::u16string_view caption) override;

  AppSettings& settings_;
  OtherSettingsPage core_;
  HWND hotKeyWindow_ = nullptr;

 public:
  static constexpr ui::Handlers<CDlgSetting> kHandlers{
      ui::OnHScroll(&CDlgSetting::OnSliderScrolled),
      ui::OnCommand(IDC_ALPHA_NUMBER, EN_CHANGE, &CDlgSetting::OnNumberChanged),
      ui::OnCommand(IDC_ALPHA_DEFAULTS, BN_CLICKED, &CDlgSetting::OnDefaults),
      ui::OnCommandRange(IDC_KEEP_CLIPBOARD, IDC_QUICK_CAPTURE, BN_CLICKED, &CDlgSetting::OnOptionClicked),
  };
};

}  // namespace ostrel
