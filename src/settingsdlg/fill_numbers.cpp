#include "settingsdlg/fill_numbers.h"

#include "settingsdlg/format_number.h"

namespace ostrel {

std::u16string FillNumbers(std::u16string_view format, std::initializer_list<int32_t> values) {
  constexpr std::u16string_view kConversion = u"%d";
  std::u16string text;
  auto next = values.begin();
  size_t from = 0;
  for (size_t at = format.find(kConversion); at != std::u16string_view::npos && next != values.end();
       at = format.find(kConversion, from)) {
    text.append(format.substr(from, at - from));
    text += FormatNumber(*next++);
    from = at + kConversion.size();
  }
  text.append(format.substr(from));
  return text;
}

}  // namespace ostrel
