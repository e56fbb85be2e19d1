#include "settingsdlg/format_number.h"

namespace ostrel {

std::u16string FormatNumber(int32_t value) {
  // Through 64 bits, so the most negative value has a magnitude too.
  const int64_t wide = value;
  uint64_t magnitude = static_cast<uint64_t>(wide < 0 ? -wide : wide);
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) digits.insert(digits.begin(), u'-');
  return digits;
}

}  // namespace ostrel
