#include "dicteditor/message_text.h"

namespace ostrel::dicteditor {

std::u16string FillIn(std::u16string_view pattern, std::initializer_list<std::u16string_view> values) {
  std::u16string text;
  auto next = values.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size() && (pattern[i + 1] == u's' || pattern[i + 1] == u'u') &&
        next != values.end()) {
      text += *next++;
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

std::u16string DecimalText(unsigned long long value) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  return digits;
}

}  // namespace ostrel::dicteditor
