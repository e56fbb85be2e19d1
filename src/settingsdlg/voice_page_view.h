#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/speech_engine.h"
#include "settings/app_settings.h"
#include "settingsdlg/page_kind.h"

namespace ostrel {

// The controls of a voice page, as its window provides them. Parameters are VoiceParameterId.
class VoicePageView {
 public:
  virtual ~VoicePageView() = default;

  // The page's window: the engine is told to speak to it and posts EngineDoneMessage there.
  virtual WindowId PageWindow() const = 0;

  virtual void SetSliderRange(VoiceParameterId parameter, int32_t minimum, int32_t maximum) = 0;
  virtual void SetSliderTicFrequency(VoiceParameterId parameter, int32_t frequency) = 0;
  // The control clamps a position outside its range to the nearer end. Sends no WM_HSCROLL.
  virtual void SetSliderPos(VoiceParameterId parameter, int32_t position) = 0;
  virtual int32_t SliderPos(VoiceParameterId parameter) const = 0;

  virtual std::u16string NumberBoxText(VoiceParameterId parameter) const = 0;
  // Like EN_CHANGE, runs VoicePage::NumberTyped for the box before returning.
  virtual void SetNumberBoxText(VoiceParameterId parameter, std::u16string_view text) = 0;

  virtual void SetGroupCaption(VoiceParameterId parameter, std::u16string_view caption) = 0;
  virtual void SetTestCaption(std::u16string_view caption) = 0;
  // A box owned by the page: OK button, exclamation icon. Returns when it has been closed.
  virtual void ShowRangeMessage(std::u16string_view text, std::u16string_view caption) = 0;
  virtual void SetPathText(std::u16string_view path) = 0;

  // Makes the font and shows the sentence in it (pages whose kind names a sample face).
  virtual void SetSampleSentence(std::u16string_view text, const SampleFont& font) = 0;
  // The whole text that the sample static shows.
  virtual std::u16string SampleText() const = 0;

  // The Chinese page's code list.
  virtual void AddCodeListEntry(std::u16string_view text) = 0;
  virtual void SelectCodeListEntry(int32_t index) = 0;

  // The Korean page's parenthesis-count box.
  virtual std::u16string ParenthesisBoxText() const = 0;
  // Like EN_CHANGE, runs VoicePage::ParenthesisTyped before returning.
  virtual void SetParenthesisBoxText(std::u16string_view text) = 0;
};

}  // namespace ostrel
