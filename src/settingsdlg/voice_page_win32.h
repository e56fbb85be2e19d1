#pragma once
#include <windows.h>

#include <array>

#include "../../resources/settings_ids.h"
#include "engine/speech_engine.h"
#include "platform/unique_handle_win32.h"
#include "settings/app_settings.h"
#include "settingsdlg/voice_page.h"
#include "settingsdlg/voice_page_view.h"
#include "ui/dialog_impl_win32.h"

namespace ostrel {

// Where a voice page's controls are: its template and control ids. Parameter rows by
// VoiceParameterId.
struct VoicePageControls {
  UINT templateId;
  std::array<int, kVoiceParameterCount> groups;
  std::array<int, kVoiceParameterCount> sliders;
  std::array<int, kVoiceParameterCount> numbers;
  int defaults;
  int sample;
  int test;
  int path;
  int choose;
  int editor;
  int codeList;     // 0 when the page has none
  int parenthesis;  // 0 when the page has none
};

const VoicePageControls& VoicePageControlsOf(LanguageIndex language);

// The voice page of one language, over its own template. The value fields live in core().
class CVoicePage : public ui::DialogImpl<CVoicePage>, private VoicePageView {
 public:
  // `settings` gives the engine's ranges of the language, read when the window is created.
  CVoicePage(LanguageIndex language, SpeechEngine& engine, const AppSettings& settings);
  ~CVoicePage() override;

  VoicePage& core() { return core_; }
  const VoicePage& core() const { return core_; }
  const VoicePageControls& controls() const { return controls_; }
  // The dictionary editor may have saved the page's dictionary elsewhere meanwhile.
  void LookAtStoredDictionaryPath();

 protected:
  BOOL OnInitDialog() override;

 private:
  void OnSliderScrolled(HWND slider);
  void OnEditChanged(int id);
  void OnButtonClicked(int id);
  void OnCodeChosen();
  LRESULT OnEngineDone(WPARAM wParam, LPARAM lParam);

  void ChooseDictionary();
  void OpenDictionaryEditor();
  int ParameterOfSlider(int id) const;
  int ParameterOfNumber(int id) const;

  // VoicePageView
  WindowId PageWindow() const override;
  void SetSliderRange(VoiceParameterId parameter, int32_t minimum, int32_t maximum) override;
  void SetSliderTicFrequency(VoiceParameterId parameter, int32_t frequency) override;
  void SetSliderPos(VoiceParameterId parameter, int32_t position) override;
  int32_t SliderPos(VoiceParameterId parameter) const override;
  std::u16string NumberBoxText(VoiceParameterId parameter) const override;
  void SetNumberBoxText(VoiceParameterId parameter, std::u16string_view text) override;
  void SetGroupCaption(VoiceParameterId parameter, std::u16string_view caption) override;
  void SetTestCaption(std::u16string_view caption) override;
  void ShowRangeMessage(std::u16string_view text, std::u16string_view caption) override;
  void SetPathText(std::u16string_view path) override;
  void SetSampleSentence(std::u16string_view text, const SampleFont& font) override;
  std::u16string SampleText() const override;
  void AddCodeListEntry(std::u16string_view text) override;
  void SelectCodeListEntry(int32_t index) override;
  std::u16string ParenthesisBoxText() const override;
  void SetParenthesisBoxText(std::u16string_view text) override;

  const VoicePageControls& controls_;
  const AppSettings& settings_;
  VoicePage core_;
  GdiObject<HFONT> sampleFont_;

 public:
  // One table for the four templates: the handlers sort the ids out.
  static constexpr ui::Handlers<CVoicePage> kHandlers{
      ui::OnHScroll(&CVoicePage::OnSliderScrolled),
      ui::OnCommandRange(1000, 1199, EN_CHANGE, &CVoicePage::OnEditChanged),
      ui::OnCommandRange(1000, 1199, BN_CLICKED, &CVoicePage::OnButtonClicked),
      ui::OnCommand(IDC_C_CODE_LIST, CBN_SELCHANGE, &CVoicePage::OnCodeChosen),
      ui::OnMessage(EngineDoneMessage, &CVoicePage::OnEngineDone),
  };
};

// The four pages differ only in their language, which picks the template and the kind.
class CMode_J : public CVoicePage {
 public:
  CMode_J(SpeechEngine& engine, const AppSettings& settings) : CVoicePage(kJapanese, engine, settings) {}
};
class CMode_C : public CVoicePage {
 public:
  CMode_C(SpeechEngine& engine, const AppSettings& settings) : CVoicePage(kChinese, engine, settings) {}
};
class CMode_E : public CVoicePage {
 public:
  CMode_E(SpeechEngine& engine, const AppSettings& settings) : CVoicePage(kEnglish, engine, settings) {}
};
class CMode_K : public CVoicePage {
 public:
  CMode_K(SpeechEngine& engine, const AppSettings& settings) : CVoicePage(kKorean, engine, settings) {}
};

}  // namespace ostrel
