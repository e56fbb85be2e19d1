#include "dicteditor/entry_check.h"

#include <algorithm>

namespace ostrel::dicteditor {

DictionaryEntry CleanEntry(const DictionaryEntry& typed) {
  return {std::u16string(orvatone::TrimDictionaryField(typed.written)),
          std::u16string(orvatone::TrimDictionaryField(typed.reading))};
}

bool IsKanaReading(std::u16string_view reading) {
  return std::all_of(reading.begin(), reading.end(), [](char16_t c) {
    return (c >= u'\u3041' && c <= u'\u3096') ||  // hiragana
           (c >= u'\u309D' && c <= u'\u309F') ||  // ゝゞゟ
           (c >= u'\u30A1' && c <= u'\u30FF') ||  // katakana, ・, ー, ヽヾヿ
           (c >= u'\u31F0' && c <= u'\u31FF') ||  // small katakana for Ainu
           (c >= u'\uFF66' && c <= u'\uFF9F') ||  // half-width katakana
           c == u' ' || c == u'\u3000';
  });
}

EntryCheck CheckEntry(LanguageIndex language, const DictionaryEntry& entry, const DictionaryDocument& document,
                      std::optional<EntryId> editing) {
  const auto hasBreak = [](const std::u16string& field) { return field.find_first_of(u"\r\n") != std::u16string::npos; };
  if (hasBreak(entry.written) || hasBreak(entry.reading)) return {EntryProblem::kLineBreak, std::nullopt};
  if (entry.written.empty()) return {EntryProblem::kEmptyWritten, std::nullopt};
  if (language == kJapanese && !IsKanaReading(entry.reading)) return {EntryProblem::kReadingNotKana, std::nullopt};
  for (const EntryId id : document.Entries()) {
    if (id != editing && document.Entry(id).written == entry.written) return {EntryProblem::kDuplicate, id};
  }
  return {};
}

}  // namespace ostrel::dicteditor
