#pragma once
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <vector>

#include "../../resources/settings_ids.h"
#include "engine/speech_engine.h"
#include "settings/app_settings.h"
#include "settingsdlg/about_page_win32.h"
#include "settingsdlg/copy_page_values.h"
#include "settingsdlg/other_settings_page_win32.h"
#include "settingsdlg/settings_tabs.h"
#include "settingsdlg/voice_page_win32.h"
#include "ui/dialog_impl_win32.h"
#include "ui/tab_control_win32.h"

namespace ostrel {

// The settings dialog: a tab per page, OK and Cancel. The pages work on copies the caller
// fills before it runs and takes back after OK; OK registers the hot keys anew itself.
class CEnvSetDlg : public ui::DialogImpl<CEnvSetDlg> {
 public:
  CEnvSetDlg(AppSettings& settings, SpeechEngine& engine);
  ~CEnvSetDlg() override;

  CMode_J& modeJ() { return modeJ_; }
  CMode_E& modeE() { return modeE_; }
  CMode_C& modeC() { return modeC_; }
  CMode_K& modeK() { return modeK_; }
  CDlgSetting& setting() { return setting_; }
  CAboutDlg& about() { return about_; }

  // The voice pages' values by LanguageIndex, for CopyIntoPages and CopyBackAfterOk.
  VoicePages VoicePageValues();

  LanguageIndex initialLanguage = kJapanese;

  // The tabs as they were appended, and the page of each (null where its window could
  // not be created).
  const std::vector<SettingsTab>& tabs() const { return tabs_; }
  ui::Dialog* PageAt(int index) const;
  int pageCount() const { return pageCount_; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  void OnTabChanged();
  void OnPaint(WPARAM, LPARAM);
  void OnActivateApp(WPARAM active, LPARAM);
  void ShowSelectedPage();
  ui::Dialog& PageOf(SettingsPage page);

  AppSettings& settings_;
  CMode_J modeJ_;
  CMode_E modeE_;
  CMode_C modeC_;
  CMode_K modeK_;
  CDlgSetting setting_;
  CAboutDlg about_;
  ui::TabControl tab_;
  std::vector<SettingsTab> tabs_;
  std::array<ui::Dialog*, 6> pages_{};
  int pageCount_ = 0;

 public:
  static constexpr ui::Handlers<CEnvSetDlg> kHandlers{
      ui::OnNotify(IDC_SETTINGS_TAB, TCN_SELCHANGE, &CEnvSetDlg::OnTabChanged),
      ui::OnMessage(WM_PAINT, &CEnvSetDlg::OnPaint),
      ui::OnMessage(WM_ACTIVATEAPP, &CEnvSetDlg::OnActivateApp),
  };
};

}  // namespace ostrel
