#include "settingsdlg/other_settings_page_win32.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "../../resources/settings_ids.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "settingsdlg/apply_hot_keys.h"
#include "settingsdlg/hot_key_registrar_win32.h"
#include "ui/hot_key_control_win32.h"
#include "ui/slider_win32.h"
#include "ui/window_text_win32.h"

namespace ostrel {
namespace {

// By hot key id 1, 2, 3.
constexpr std::array<int, 3> kHotKeyControls{IDC_HOTKEY_SELREAD, IDC_HOTKEY_ALLREAD, IDC_HOTKEY_STOP};
constexpr size_t kNumberBoxChars = 19;

// The check boxes' ids run in the order of the options.
static_assert(IDC_LANGUAGE_BY_SCRIPT == IDC_KEEP_CLIPBOARD + 1 && IDC_QUICK_CAPTURE == IDC_KEEP_CLIPBOARD + 2);
int OptionControl(ReadingOption option) { return IDC_KEEP_CLIPBOARD + static_cast<int>(option); }

}  // namespace

CDlgSetting::CDlgSetting(AppSettings& settings) : DialogImpl(IDD_SETTING), settings_(settings), core_(*this) {}

CDlgSetting::~CDlgSetting() { Destroy(); }

BOOL CDlgSetting::OnInitDialog() {
  // A key pressed alone gets Alt, so no plain letter can become a global hot key.
  for (int id : kHotKeyControls) ui::HotKeyControl(hwnd(), id).SetRules(HKCOMB_NONE, HOTKEYF_ALT);
  core_.Initialize(HotKeyWordsOf(settings_));
  return TRUE;
}

HotKeyWords CDlgSetting::ControlWords() const {
  if (!hwnd()) return HotKeyWordsOf(settings_);
  HotKeyWords words{};
  for (size_t i = 0; i < words.size(); ++i) words[i] = ui::HotKeyControl(hwnd(), kHotKeyControls[i]).GetHotKey();
  return words;
}

void CDlgSetting::ApplyHotKeys() {
  Win32HotKeyRegistrar registrar(hotKeyWindow_, hwnd());
  ostrel::ApplyHotKeys(settings_, ControlWords(), registrar);
}

void CDlgSetting::OnSliderScrolled(HWND slider) {
  if (GetDlgCtrlID(slider) == IDC_ALPHA_SLIDER) core_.SliderMoved();
}

void CDlgSetting::OnNumberChanged() { core_.NumberTyped(); }

void CDlgSetting::OnDefaults() { core_.Defaults(); }

void CDlgSetting::OnOptionClicked(int id) {
  for (const ReadingOption option : kReadingOptions) {
    if (OptionControl(option) == id) core_.OptionClicked(option);
  }
}

// --- OtherSettingsView --------------------------------------------------------------

void CDlgSetting::SetHotKey(int id, uint16_t word) {
  if (id >= 1 && id <= static_cast<int>(kHotKeyControls.size())) {
    ui::HotKeyControl(hwnd(), kHotKeyControls[static_cast<size_t>(id - 1)]).SetHotKey(word);
  }
}

void CDlgSetting::SetSliderRange(int32_t minimum, int32_t maximum) {
  ui::Slider(hwnd(), IDC_ALPHA_SLIDER).SetRange(minimum, maximum, true);
}

void CDlgSetting::SetSliderTicFrequency(int32_t frequency) { ui::Slider(hwnd(), IDC_ALPHA_SLIDER).SetTicFreq(frequency); }

void CDlgSetting::SetSliderPos(int32_t position) { ui::Slider(hwnd(), IDC_ALPHA_SLIDER).SetPos(position, true); }

int32_t CDlgSetting::SliderPos() const { return ui::Slider(hwnd(), IDC_ALPHA_SLIDER).GetPos(); }

std::u16string CDlgSetting::NumberBoxText() const {
  const std::wstring text = ui::GetItemText(hwnd(), IDC_ALPHA_NUMBER, kNumberBoxChars);
  return FromWide(text.c_str(), text.size());
}

void CDlgSetting::SetNumberBoxText(std::u16string_view text) {
  const std::u16string terminated(text);
  ui::SetItemText(hwnd(), IDC_ALPHA_NUMBER, Wide(terminated));
}

void CDlgSetting::SetGroupCaption(std::u16string_view caption) {
  const std::u16string terminated(caption);
  ui::SetItemText(hwnd(), IDC_ALPHA_GROUP, Wide(terminated));
}

void CDlgSetting::SetOptionChecked(ReadingOption option, bool checked) {
  CheckDlgButton(hwnd(), OptionControl(option), checked ? BST_CHECKED : BST_UNCHECKED);
}

bool CDlgSetting::OptionChecked(ReadingOption option) const {
  return IsDlgButtonChecked(hwnd(), OptionControl(option)) == BST_CHECKED;
}

void CDlgSetting::ShowRangeMessage(std::u16string_view text, std::u16string_view caption) {
  const std::u16string terminatedText(text);
  const std::u16string terminatedCaption(caption);
  ShowMessageBox(hwnd(), Wide(terminatedText), Wide(terminatedCaption), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace ostrel
