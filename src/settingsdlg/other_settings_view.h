#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace ostrel {

// The check boxes of the group "読み上げの動作", top to bottom.
enum class ReadingOption { KeepClipboard, LanguageByScript, QuickCapture };
inline constexpr ReadingOption kReadingOptions[] = {ReadingOption::KeepClipboard, ReadingOption::LanguageByScript,
                                                    ReadingOption::QuickCapture};

// The controls of the other-settings page, as its window provides them.
class OtherSettingsView {
 public:
  virtual ~OtherSettingsView() = default;

  // id 1, 2 or 3; the control shows the word (0: empty).
  virtual void SetHotKey(int id, uint16_t word) = 0;

  virtual void SetSliderRange(int32_t minimum, int32_t maximum) = 0;
  virtual void SetSliderTicFrequency(int32_t frequency) = 0;
  // The control clamps a position outside its range to the nearer end. Sends no WM_HSCROLL.
  virtual void SetSliderPos(int32_t position) = 0;
  virtual int32_t SliderPos() const = 0;

  virtual std::u16string NumberBoxText() const = 0;
  // Like EN_CHANGE, runs OtherSettingsPage::NumberTyped before returning.
  virtual void SetNumberBoxText(std::u16string_view text) = 0;

  virtual void SetGroupCaption(std::u16string_view caption) = 0;

  virtual void SetOptionChecked(ReadingOption option, bool checked) = 0;
  virtual bool OptionChecked(ReadingOption option) const = 0;

  // A box owned by the page: OK button, exclamation icon. Returns when it has been closed.
  virtual void ShowRangeMessage(std::u16string_view text, std::u16string_view caption) = 0;
};

}  // namespace ostrel
