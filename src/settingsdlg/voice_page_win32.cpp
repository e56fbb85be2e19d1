#include "settingsdlg/voice_page_win32.h"

#include <shellapi.h>

#include <string>

#include "../../resources/settings_ids.h"
#include "encoding/code_page_win32.h"
#include "platform/program_directory.h"
#include "platform/program_directory_win32.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "settings/registry_store.h"
#include "settings/registry_win32.h"
#include "settings/settings_model.h"
#include "settingsdlg/page_texts.h"
#include "ui/combo_box_win32.h"
#include "ui/open_file_dialog_win32.h"
#include "ui/slider_win32.h"
#include "ui/window_text_win32.h"

namespace ostrel {
namespace {

// A number box is read through a buffer of 20 characters.
constexpr size_t kNumberBoxChars = 19;

constexpr std::array<VoicePageControls, kLanguageCount> kControls{{
    {IDD_MODE_J,
     {IDC_J_VOLUME_GROUP, IDC_J_SPEED_GROUP, IDC_J_PITCH_GROUP, IDC_J_PAUSE_GROUP, IDC_J_COMMAPAUSE_GROUP},
     {IDC_J_VOLUME_SLIDER, IDC_J_SPEED_SLIDER, IDC_J_PITCH_SLIDER, IDC_J_PAUSE_SLIDER, IDC_J_COMMAPAUSE_SLIDER},
     {IDC_J_VOLUME_NUMBER, IDC_J_SPEED_NUMBER, IDC_J_PITCH_NUMBER, IDC_J_PAUSE_NUMBER, IDC_J_COMMAPAUSE_NUMBER},
     IDC_J_DEFAULTS, IDC_J_SAMPLE, IDC_J_TEST, IDC_J_PATH, IDC_J_CHOOSE, IDC_J_EDITOR, 0, 0},
    {IDD_MODE_C,
     {IDC_C_VOLUME_GROUP, IDC_C_SPEED_GROUP, IDC_C_PITCH_GROUP, IDC_C_PAUSE_GROUP, IDC_C_COMMAPAUSE_GROUP},
     {IDC_C_VOLUME_SLIDER, IDC_C_SPEED_SLIDER, IDC_C_PITCH_SLIDER, IDC_C_PAUSE_SLIDER, IDC_C_COMMAPAUSE_SLIDER},
     {IDC_C_VOLUME_NUMBER, IDC_C_SPEED_NUMBER, IDC_C_PITCH_NUMBER, IDC_C_PAUSE_NUMBER, IDC_C_COMMAPAUSE_NUMBER},
     IDC_C_DEFAULTS, IDC_C_SAMPLE, IDC_C_TEST, IDC_C_PATH, IDC_C_CHOOSE, IDC_C_EDITOR, IDC_C_CODE_LIST, 0},
    {IDD_MODE_E,
     {IDC_E_VOLUME_GROUP, IDC_E_SPEED_GROUP, IDC_E_PITCH_GROUP, IDC_E_PAUSE_GROUP, IDC_E_COMMAPAUSE_GROUP},
     {IDC_E_VOLUME_SLIDER, IDC_E_SPEED_SLIDER, IDC_E_PITCH_SLIDER, IDC_E_PAUSE_SLIDER, IDC_E_COMMAPAUSE_SLIDER},
     {IDC_E_VOLUME_NUMBER, IDC_E_SPEED_NUMBER, IDC_E_PITCH_NUMBER, IDC_E_PAUSE_NUMBER, IDC_E_COMMAPAUSE_NUMBER},
     IDC_E_DEFAULTS, IDC_E_SAMPLE, IDC_E_TEST, IDC_E_PATH, IDC_E_CHOOSE, IDC_E_EDITOR, 0, 0},
    {IDD_MODE_K,
     {IDC_K_VOLUME_GROUP, IDC_K_SPEED_GROUP, IDC_K_PITCH_GROUP, IDC_K_PAUSE_GROUP, IDC_K_COMMAPAUSE_GROUP},
     {IDC_K_VOLUME_SLIDER, IDC_K_SPEED_SLIDER, IDC_K_PITCH_SLIDER, IDC_K_PAUSE_SLIDER, IDC_K_COMMAPAUSE_SLIDER},
     {IDC_K_VOLUME_NUMBER, IDC_K_SPEED_NUMBER, IDC_K_PITCH_NUMBER, IDC_K_PAUSE_NUMBER, IDC_K_COMMAPAUSE_NUMBER},
     IDC_K_DEFAULTS, IDC_K_SAMPLE, IDC_K_TEST, IDC_K_PATH, IDC_K_CHOOSE, IDC_K_EDITOR, 0, IDC_K_PARENTHESIS},
}};


// The view's texts are views; the platform wants them zero-terminated.
void SetItem(HWND dialog, int id, std::u16string_view text) {
  const std::u16string terminated(text);
  ui::SetItemText(dialog, id, Wide(terminated));
}

std::u16string GetItem(HWND dialog, int id, size_t maxChars = ui::kWholeText) {
  const std::wstring text = ui::GetItemText(dialog, id, maxChars);
  return FromWide(text.c_str(), text.size());
}

}  // namespace

const VoicePageControls& VoicePageControlsOf(LanguageIndex language) {
  return kControls[static_cast<size_t>(language)];
}

CVoicePage::CVoicePage(LanguageIndex language, SpeechEngine& engine, const AppSettings& settings)
    : DialogImpl(VoicePageControlsOf(language).templateId),
      controls_(VoicePageControlsOf(language)),
      settings_(settings),
      core_(VoicePageKind(language), *this, engine,
            [](std::u16string_view text, uint32_t codePage) { return ToCodePage(text, codePage); }) {}

CVoicePage::~CVoicePage() {
  // The window goes before the sample font it may still be drawing with.
  Destroy();
}

BOOL CVoicePage::OnInitDialog() {
  core_.Initialize(settings_.languages[static_cast<size_t>(core_.kind().language)].ranges);
  return TRUE;
}

int CVoicePage::ParameterOfSlider(int id) const {
  for (int p = 0; p < kVoiceParameterCount; ++p) {
    if (controls_.sliders[static_cast<size_t>(p)] == id) return p;
  }
  return -1;
}

int CVoicePage::ParameterOfNumber(int id) const {
  for (int p = 0; p < kVoiceParameterCount; ++p) {
    if (controls_.numbers[static_cast<size_t>(p)] == id) return p;
  }
  return -1;
}

void CVoicePage::OnSliderScrolled(HWND slider) {
  const int parameter = ParameterOfSlider(GetDlgCtrlID(slider));
  if (parameter >= 0) core_.SliderMoved(static_cast<VoiceParameterId>(parameter));
}

void CVoicePage::OnEditChanged(int id) {
  if (const int parameter = ParameterOfNumber(id); parameter >= 0) {
    core_.NumberTyped(static_cast<VoiceParameterId>(parameter));
  } else if (controls_.parenthesis != 0 && id == controls_.parenthesis) {
    core_.ParenthesisTyped();
  }
}

void CVoicePage::OnButtonClicked(int id) {
  if (id == controls_.defaults) {
    core_.Defaults();
  } else if (id == controls_.test) {
    core_.Test();
  } else if (id == controls_.choose) {
    ChooseDictionary();
  } else if (id == controls_.editor) {
    OpenDictionaryEditor();
  }
}

void CVoicePage::OnCodeChosen() {
  if (controls_.codeList != 0) core_.CodeChosen(ui::ComboBox(hwnd(), controls_.codeList).GetCurSel());
}

LRESULT CVoicePage::OnEngineDone(WPARAM, LPARAM lParam) {
  core_.TestEnded(static_cast<intptr_t>(lParam));
  return 0;
}

void CVoicePage::LookAtStoredDictionaryPath() {
  Win32Registry registry;
  RegistryStore store(registry);
  core_.StoredDictionaryPath(
      store.AppRegGetStr(LanguageKey(core_.kind().language), RegistryStore::kTextValueName, core_.storedUserDicPath));
}

void CVoicePage::ChooseDictionary() {
  LookAtStoredDictionaryPath();
  const std::u16string folder = core_.ChooseDictionaryFolder();
  const ui::FileFilter filters[] = {
      {WideView(page_texts::kDictionaryFilterName), WideView(page_texts::kDictionaryFilterPattern)}};
  const std::optional<std::wstring> chosen =
      ui::OpenFileDialog(hwnd(), filters, WideView(page_texts::kDictionaryDefaultExtension),
                         WideView(page_texts::kDictionaryInitialFileName), WideView(folder),
                         OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_CREATEPROMPT);
  if (chosen) core_.DictionaryChosen(FromWide(chosen->c_str(), chosen->size()));
}

void CVoicePage::OpenDictionaryEditor() {
  LookAtStoredDictionaryPath();
  const EditorCommand command = core_.EditorLaunch(ProgramDirectory());
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(hwnd(), Wide(page_texts::kEditorVerb.data()), Wide(command.program),
                                                              Wide(command.parameter), Wide(command.folder),
                                                              SW_SHOWNORMAL));
  if (result > 32) return;
  ShowApplicationMessage(hwnd(), Wide(page_texts::kEditorFailed.data()), MB_OK);
}

// --- VoicePageView ----------------------------------------------------------------

WindowId CVoicePage::PageWindow() const { return reinterpret_cast<WindowId>(hwnd()); }

void CVoicePage::SetSliderRange(VoiceParameterId parameter, int32_t minimum, int32_t maximum) {
  ui::Slider(hwnd(), controls_.sliders[parameter]).SetRange(minimum, maximum, true);
}

void CVoicePage::SetSliderTicFrequency(VoiceParameterId parameter, int32_t frequency) {
  ui::Slider(hwnd(), controls_.sliders[parameter]).SetTicFreq(frequency);
}

void CVoicePage::SetSliderPos(VoiceParameterId parameter, int32_t position) {
  ui::Slider(hwnd(), controls_.sliders[parameter]).SetPos(position, true);
}

int32_t CVoicePage::SliderPos(VoiceParameterId parameter) const {
  return ui::Slider(hwnd(), controls_.sliders[parameter]).GetPos();
}

std::u16string CVoicePage::NumberBoxText(VoiceParameterId parameter) const {
  return GetItem(hwnd(), controls_.numbers[parameter], kNumberBoxChars);
}

void CVoicePage::SetNumberBoxText(VoiceParameterId parameter, std::u16string_view text) {
  SetItem(hwnd(), controls_.numbers[parameter], text);
}

void CVoicePage::SetGroupCaption(VoiceParameterId parameter, std::u16string_view caption) {
  SetItem(hwnd(), controls_.groups[parameter], caption);
}

void CVoicePage::SetTestCaption(std::u16string_view caption) { SetItem(hwnd(), controls_.test, caption); }

void CVoicePage::ShowRangeMessage(std::u16string_view text, std::u16string_view caption) {
  const std::u16string terminatedText(text);
  const std::u16string terminatedCaption(caption);
  ShowMessageBox(hwnd(), Wide(terminatedText), Wide(terminatedCaption), MB_OK | MB_ICONEXCLAMATION);
}

void CVoicePage::SetPathText(std::u16string_view path) { SetItem(hwnd(), controls_.path, path); }

void CVoicePage::SetSampleSentence(std::u16string_view text, const SampleFont& font) {
  const std::u16string face(font.face);
  sampleFont_.reset(CreateFontW(font.height, 0, 0, 0, 0, FALSE, FALSE, FALSE, static_cast<DWORD>(font.charset), 0, 0,
                                0, 0, Wide(face)));
  if (sampleFont_) SendDlgItemMessageW(hwnd(), controls_.sample, WM_SETFONT, reinterpret_cast<WPARAM>(sampleFont_.get()), TRUE);
  SetItem(hwnd(), controls_.sample, text);
}

std::u16string CVoicePage::SampleText() const { return GetItem(hwnd(), controls_.sample); }

void CVoicePage::AddCodeListEntry(std::u16string_view text) {
  const std::u16string terminated(text);
  ui::ComboBox(hwnd(), controls_.codeList).AddString(Wide(terminated));
}

void CVoicePage::SelectCodeListEntry(int32_t index) { ui::ComboBox(hwnd(), controls_.codeList).SetCurSel(index); }

std::u16string CVoicePage::ParenthesisBoxText() const {
  return GetItem(hwnd(), controls_.parenthesis, kNumberBoxChars);
}

void CVoicePage::SetParenthesisBoxText(std::u16string_view text) { SetItem(hwnd(), controls_.parenthesis, text); }

}  // namespace ostrel
