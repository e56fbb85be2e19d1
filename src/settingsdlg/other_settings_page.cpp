#include "settingsdlg/other_settings_page.h"

#include <utility>

#include "settingsdlg/fill_numbers.h"
#include "settingsdlg/format_number.h"
#include "settingsdlg/page_texts.h"
#include "settingsdlg/read_typed_number.h"
#include "settingsdlg/tick_frequency.h"

namespace ostrel {
namespace {

constexpr int32_t kOpaque = 255;

void ShowHotKeys(OtherSettingsView& view, const HotKeyWords& words) {
  for (int id = 1; id <= static_cast<int>(words.size()); ++id) view.SetHotKey(id, words[id - 1]);
}

}  // namespace

void OtherSettingsPage::Initialize(const HotKeyWords& hotKeys) {
  ShowHotKeys(view_, hotKeys);
  view_.SetSliderRange(Alpha_Min, Alpha_Max);
  view_.SetSliderTicFrequency(TickFrequency(Alpha_Min, Alpha_Max));
  view_.SetSliderPos(Alpha);
  view_.SetNumberBoxText(FormatNumber(Alpha));
  view_.SetGroupCaption(FillNumbers(page_texts::kAlphaGroupFormat, {Alpha_Min, Alpha_Max}));
  ShowOptions();
}

void OtherSettingsPage::SliderMoved() {
  const int32_t position = view_.SliderPos();
  ShowSliderInBox();
  Alpha = position;
}

void OtherSettingsPage::NumberTyped() {
  const int32_t value = ReadTypedNumber(view_.NumberBoxText());
  if (Alpha_Min <= value && value <= Alpha_Max) {
    view_.SetSliderPos(value);
    Alpha = value;
    return;
  }
  if (showingSlider_) return;
  view_.ShowRangeMessage(FillNumbers(page_texts::kRangeMessageFormat, {Alpha_Min, Alpha_Max}),
                         page_texts::kAlphaCaption);
  ShowSliderInBox();
}

void OtherSettingsPage::ShowSliderInBox() {
  const bool outer = std::exchange(showingSlider_, true);
  view_.SetNumberBoxText(FormatNumber(view_.SliderPos()));
  showingSlider_ = outer;
}

void OtherSettingsPage::OptionClicked(ReadingOption option) { Option(option) = view_.OptionChecked(option); }

void OtherSettingsPage::ShowOptions() {
  for (const ReadingOption option : kReadingOptions) view_.SetOptionChecked(option, Option(option));
}

bool& OtherSettingsPage::Option(ReadingOption option) {
  switch (option) {
    case ReadingOption::KeepClipboard:
      return KeepClipboard;
    case ReadingOption::LanguageByScript:
      return LanguageByScript;
    case ReadingOption::QuickCapture:
      break;
  }
  return QuickCapture;
}

void OtherSettingsPage::Defaults() {
  ShowHotKeys(view_, kDefaultHotKeys);
  Alpha = kOpaque;
  view_.SetSliderPos(kOpaque);
  view_.SetNumberBoxText(FormatNumber(kOpaque));
  KeepClipboard = LanguageByScript = QuickCapture = false;
  ShowOptions();
}

}  // namespace ostrel
