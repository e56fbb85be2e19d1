#include "settingsdlg/voice_page.h"

#include <utility>

#include "settings/settings_model.h"
#include "settingsdlg/fill_numbers.h"
#include "settingsdlg/format_number.h"
#include "settingsdlg/page_texts.h"
#include "settingsdlg/read_typed_number.h"
#include "settingsdlg/remove_last_path_element.h"
#include "settingsdlg/tick_frequency.h"

namespace ostrel {
namespace {

constexpr std::array<VoiceParameterId, kVoiceParameterCount> kParameters{kVolume, kSpeed, kPitch, kPause,
                                                                         kCommaPause};

}  // namespace

VoicePage::VoicePage(const PageKind& kind, VoicePageView& view, SpeechEngine& engine, SampleTextEncoder encoder)
    : kind_(kind), view_(view), engine_(engine), encoder_(std::move(encoder)) {}

int32_t& VoicePage::Field(VoiceParameterId parameter) {
  switch (parameter) {
    case kVolume: return volume;
    case kSpeed: return speed;
    case kPitch: return pitch;
    case kPause: return pause;
    case kCommaPause: break;
  }
  return commapause;
}

void VoicePage::Initialize(const VoiceRanges& ranges) {
  ranges_ = ranges;
  if (kind_.extra == PageExtra::kCodeList) {
    for (std::u16string_view code : page_texts::kChineseCodes) view_.AddCodeListEntry(code);
    view_.SelectCodeListEntry(codepage);
  }
  Testing = 0;
  for (VoiceParameterId p : kParameters) {
    view_.SetSliderRange(p, ranges_[p].min, ranges_[p].max);
    view_.SetSliderTicFrequency(p, TickFrequency(ranges_[p].min, ranges_[p].max));
  }
  for (VoiceParameterId p : kParameters) view_.SetSliderPos(p, Field(p));
  // Each box reads its value back: a stored value outside the range is reported here.
  for (VoiceParameterId p : kParameters) view_.SetNumberBoxText(p, FormatNumber(Field(p)));
  if (kind_.extra == PageExtra::kParenthesisCount) view_.SetParenthesisBoxText(FormatNumber(ParenthesisCharNumber));
  if (!kind_.sampleFont.face.empty()) view_.SetSampleSentence(kind_.sampleSentence, kind_.sampleFont);
  view_.SetPathText(UserDicPath);
  for (VoiceParameterId p : kParameters) {
    view_.SetGroupCaption(p, FillNumbers(page_texts::kGroupCaptionFormats[p], {ranges_[p].min, ranges_[p].max}));
  }
}

void VoicePage::SliderMoved(VoiceParameterId parameter) {
  const int32_t position = view_.SliderPos(parameter);
  ShowSliderInBox(parameter);
  Field(parameter) = position;
}

void VoicePage::NumberTyped(VoiceParameterId parameter) {
  const int32_t value = ReadTypedNumber(view_.NumberBoxText(parameter));
  const ParameterRange& range = ranges_[parameter];
  if (range.min <= value && value <= range.max) {
    view_.SetSliderPos(parameter, value);
    Field(parameter) = value;
    return;
  }
  if (showingSlider_[parameter]) return;
  view_.ShowRangeMessage(FillNumbers(page_texts::kRangeMessageFormat, {range.min, range.max}),
                         page_texts::kRangeMessageCaptions[parameter]);
  ShowSliderInBox(parameter);
}

void VoicePage::ShowSliderInBox(VoiceParameterId parameter) {
  const bool outer = std::exchange(showingSlider_[parameter], true);
  view_.SetNumberBoxText(parameter, FormatNumber(view_.SliderPos(parameter)));
  showingSlider_[parameter] = outer;
}

void VoicePage::Defaults() {
  for (VoiceParameterId p : kParameters) view_.SetSliderPos(p, ranges_[p].def);
  for (VoiceParameterId p : kParameters) SliderMoved(p);
  if (kind_.extra == PageExtra::kParenthesisCount) {
    ParenthesisCharNumber = 0;
    view_.SetParenthesisBoxText(u"0");
  }
}

void VoicePage::Test() {
  const WindowId window = view_.PageWindow();
  if (Testing != 0) {
    engine_.Stop(window, kind_.engineLanguage);
    view_.SetTestCaption(page_texts::kTestCaption);
    Testing = 0;
    return;
  }
  const std::string text = encoder_(view_.SampleText(), kind_.testCodePage);
  engine_.Stop(window, kind_.engineLanguage);
  const int32_t extra = kind_.extra == PageExtra::kParenthesisCount ? ParenthesisCharNumber : 0;
  engine_.Speak(window, kind_.engineLanguage, text.c_str(), pitch, speed, volume, pause, commapause, extra);
  view_.SetTestCaption(page_texts::kStopCaption);
  Testing = 1;
}

void VoicePage::TestEnded(intptr_t lParam) {
  if (lParam != kEngineTextDone) return;
  view_.SetTestCaption(page_texts::kTestCaption);
  Testing = 0;
}

std::u16string VoicePage::ChooseDictionaryFolder() {
  // A test keeps its caption: the next click on the test button stops once more.
  engine_.Stop(view_.PageWindow(), kind_.engineLanguage);
  std::u16string folder = RemoveLastPathElement(UserDicPath);
  // A root already ends in its backslash; a second one would turn "\" into a network prefix.
  if (folder.empty() || folder.back() != u'\\') folder += u'\\';
  return folder;
}

void VoicePage::DictionaryChosen(std::u16string_view path) {
  UserDicPath = path;
  view_.SetPathText(UserDicPath);
}

void VoicePage::StoredDictionaryPath(std::u16string_view stored) {
  if (FollowStoredPath(UserDicPath, storedUserDicPath, stored)) view_.SetPathText(UserDicPath);
}

EditorCommand VoicePage::EditorLaunch(std::u16string_view programDirectory) const {
  EditorCommand command;
  command.folder = programDirectory;
  command.folder += kind_.editorFolder;
  command.program = command.folder + std::u16string(kind_.editorProgram);
  command.parameter = u"\"" + UserDicPath + u"\"";
  return command;
}

void VoicePage::CodeChosen(int32_t index) {
  // A list without typing always has a selection after a choice; -1 would not be a code.
  if (index >= 0) codepage = index;
}

void VoicePage::ParenthesisTyped() { ParenthesisCharNumber = ReadTypedNumber(view_.ParenthesisBoxText()); }

}  // namespace ostrel
