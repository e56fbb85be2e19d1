#include "settingsdlg/env_set_dlg_win32.h"

#include <commctrl.h>

#include "../../resources/settings_ids.h"
#include "platform/unique_handle_win32.h"
#include "platform/wide_win32.h"
#include "settingsdlg/page_placement.h"

namespace ostrel {

CEnvSetDlg::CEnvSetDlg(AppSettings& settings, SpeechEngine& engine)
    : DialogImpl(IDD_ENVSET),
      settings_(settings),
      modeJ_(engine, settings),
      modeE_(engine, settings),
      modeC_(engine, settings),
      modeK_(engine, settings),
      setting_(settings) {}

CEnvSetDlg::~CEnvSetDlg() {
  // The pages are children of this window: it goes while they are still whole.
  Destroy();
}

VoicePages CEnvSetDlg::VoicePageValues() {
  return {&modeJ_.core(), &modeC_.core(), &modeE_.core(), &modeK_.core()};
}

ui::Dialog& CEnvSetDlg::PageOf(SettingsPage page) {
  switch (page) {
    case SettingsPage::kJapaneseVoice: return modeJ_;
    case SettingsPage::kChineseVoice: return modeC_;
    case SettingsPage::kEnglishVoice: return modeE_;
    case SettingsPage::kKoreanVoice: return modeK_;
    case SettingsPage::kOtherSettings: return setting_;
    case SettingsPage::kAbout: break;
  }
  return about_;
}

ui::Dialog* CEnvSetDlg::PageAt(int index) const {
  return index >= 0 && index < pageCount_ ? pages_[static_cast<size_t>(index)] : nullptr;
}

BOOL CEnvSetDlg::OnInitDialog() {
  tab_.Attach(hwnd(), IDC_SETTINGS_TAB);
  tabs_ = SettingsTabs(settings_.languageEnabled);
  for (size_t i = 0; i < tabs_.size(); ++i) {
    const std::u16string caption(tabs_[i].caption);
    tab_.InsertItem(static_cast<int>(i), Wide(caption));
  }

  // The tab control's DC keeps its default font: that height is what places the pages.
  TEXTMETRICW metrics{};
  {
    WindowDc dc(tab_.hwnd());
    GetTextMetricsW(dc.get(), &metrics);
  }
  const PagePosition position = PagePlacement(metrics.tmHeight);

  pages_.fill(nullptr);
  for (size_t i = 0; i < tabs_.size() && i < pages_.size(); ++i) {
    ui::Dialog& page = PageOf(tabs_[i].page);
    // A page whose window cannot be made keeps its tab but shows nothing; its values
    // stay as the caller gave them.
    if (!page.Create(hwnd())) continue;
    page.MoveTo(position.x, position.y);
    pages_[i] = &page;
  }
  // The pages lie on the tab control: it goes behind them and leaves them out of its painting.
  SetWindowPos(tab_.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
  pageCount_ = static_cast<int>(tabs_.size());
  tab_.SetCurSel(InitialTab(tabs_, initialLanguage));
  return TRUE;
}

void CEnvSetDlg::ShowSelectedPage() {
  const int selected = tab_.GetCurSel();
  if (selected < 0 || selected >= pageCount_) return;
  for (int i = 0; i < pageCount_; ++i) {
    if (ui::Dialog* page = pages_[static_cast<size_t>(i)]) page->Show(i == selected);
  }
}

void CEnvSetDlg::OnTabChanged() { ShowSelectedPage(); }

void CEnvSetDlg::OnPaint(WPARAM, LPARAM) {
  PAINTSTRUCT paint;
  BeginPaint(hwnd(), &paint);
  ShowSelectedPage();
  EndPaint(hwnd(), &paint);
}

// Back from another program, perhaps the dictionary editor, which may have saved a page's
// dictionary elsewhere: the pages show the file that is now in use.
void CEnvSetDlg::OnActivateApp(WPARAM active, LPARAM) {
  if (!active) return;
  for (CVoicePage* page : {static_cast<CVoicePage*>(&modeJ_), static_cast<CVoicePage*>(&modeC_),
                           static_cast<CVoicePage*>(&modeE_), static_cast<CVoicePage*>(&modeK_)}) {
    if (page->hwnd()) page->LookAtStoredDictionaryPath();
  }
}

void CEnvSetDlg::OnOK() {
  // The dialog closes with OK even when a hot key could not be registered.
  setting_.ApplyHotKeys();
  EndDialog(IDOK);
}

}  // namespace ostrel
