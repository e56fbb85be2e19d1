#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/speech_engine.h"
#include "settings/app_settings.h"
#include "settingsdlg/page_kind.h"
#include "settingsdlg/voice_page_view.h"

namespace ostrel {

// Multibyte text in a code page (kSystemAnsiCodePage for the system's); a character the
// code page cannot hold becomes its default character.
using SampleTextEncoder = std::function<std::string(std::u16string_view text, uint32_t codePage)>;

using VoiceRanges = std::array<ParameterRange, kVoiceParameterCount>;

// How the dictionary editor is started: ShellExecuteW "open" of `program` with `parameter`,
// `folder` the working folder.
struct EditorCommand {
  std::u16string folder;
  std::u16string program;
  std::u16string parameter;
};

// One language's voice page: each value has a slider and a number box that follow each
// other within the engine's range. Works on copies; the dialog's caller fills the value
// fields before the page opens and takes them back after OK.
class VoicePage {
 public:
  VoicePage(const PageKind& kind, VoicePageView& view, SpeechEngine& engine, SampleTextEncoder encoder);
  VoicePage(const VoicePage&) = delete;
  VoicePage& operator=(const VoicePage&) = delete;

  const PageKind& kind() const { return kind_; }

  // The values, named after their settings.
  std::u16string UserDicPath;
  std::u16string storedUserDicPath;  // the registry's, as the page last saw it
  int32_t speed = 0;
  int32_t volume = 0;
  int32_t pitch = 0;
  int32_t pause = 0;
  int32_t commapause = 0;
  int32_t codepage = 0;               // Chinese page
  int32_t ParenthesisCharNumber = 0;  // Korean page
  // 1 while the sample sentence is being spoken.
  int32_t Testing = 0;

  // The page window has been created. `ranges` are the engine's, of this page's language.
  void Initialize(const VoiceRanges& ranges);
  // WM_HSCROLL from the parameter's slider.
  void SliderMoved(VoiceParameterId parameter);
  // EN_CHANGE of the parameter's number box.
  void NumberTyped(VoiceParameterId parameter);
  // The defaults button.
  void Defaults();
  // The test button: speaks the sample sentence, or stops it.
  void Test();
  // EngineDoneMessage at the page.
  void TestEnded(intptr_t lParam);

  // The choose button: stops the language's speech and gives the file dialog's initial
  // folder. A confirmed file then goes to DictionaryChosen; a cancelled dialog changes nothing.
  std::u16string ChooseDictionaryFolder();
  void DictionaryChosen(std::u16string_view path);
  // The editor button. The caller reports a shell result of 32 or less with
  // page_texts::kEditorFailed.
  EditorCommand EditorLaunch(std::u16string_view programDirectory) const;
  // The registry's "UserDicPath" now, before the path is used: when the dictionary editor
  // has saved the dictionary elsewhere, its new file replaces a path the user has not changed
  // on this page, so that the editor does not open the old one again.
  void StoredDictionaryPath(std::u16string_view stored);

  // CBN_SELCHANGE of the Chinese code list, with its current selection.
  void CodeChosen(int32_t index);
  // EN_CHANGE of the Korean parenthesis-count box.
  void ParenthesisTyped();

 private:
  int32_t& Field(VoiceParameterId parameter);
  // Sets the box to the slider's position. That lies in the range unless the range is empty
  // (minimum above maximum); a value read back then is not complained about again, or the
  // message and the box would call each other for ever.
  void ShowSliderInBox(VoiceParameterId parameter);

  const PageKind kind_;
  VoicePageView& view_;
  SpeechEngine& engine_;
  SampleTextEncoder encoder_;
  VoiceRanges ranges_{};
  std::array<bool, kVoiceParameterCount> showingSlider_{};
};

}  // namespace ostrel
