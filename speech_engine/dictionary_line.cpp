#include "dictionary_line.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "encoding/utf8.h"

namespace ostrel::orvatone {

bool IsDictionaryBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\u00A0' || c == u'\u3000' ||
         c == u'\uFEFF';
}

std::u16string_view TrimDictionaryField(std::u16string_view field) {
  while (!field.empty() && IsDictionaryBlank(field.front())) field.remove_prefix(1);
  while (!field.empty() && IsDictionaryBlank(field.back())) field.remove_suffix(1);
  return field;
}

// An opening quote that is not closed on the same line makes the line malformed: entries never
// span lines.
DictionaryLineKind ParseDictionaryLine(std::u16string_view line, DictionaryEntry& entry) {
  const std::u16string_view content = TrimDictionaryField(line);
  if (content.empty() || content.front() == u'#') return DictionaryLineKind::kIgnored;

  std::u16string fields[2];
  std::size_t fieldCount = 0;
  std::size_t pos = 0;
  while (true) {
    if (fieldCount == 2) return DictionaryLineKind::kMalformed;
    std::u16string& field = fields[fieldCount++];
    while (pos < line.size() && IsDictionaryBlank(line[pos])) ++pos;
    if (pos < line.size() && line[pos] == u'"') {
      ++pos;
      while (true) {
        if (pos >= line.size()) return DictionaryLineKind::kMalformed;
        if (line[pos] == u'"') {
          if (pos + 1 < line.size() && line[pos + 1] == u'"') {
            field += u'"';
            pos += 2;
            continue;
          }
          ++pos;
          break;
        }
        field += line[pos++];
      }
      while (pos < line.size() && IsDictionaryBlank(line[pos])) ++pos;
      if (pos == line.size()) break;
      if (line[pos] != u',') return DictionaryLineKind::kMalformed;
      ++pos;
    } else {
      const std::size_t comma = std::min(line.find(u',', pos), line.size());
      const std::u16string_view raw = line.substr(pos, comma - pos);
      // A quote belongs only inside a quoted field.
      if (raw.find(u'"') != std::u16string_view::npos) return DictionaryLineKind::kMalformed;
      field = TrimDictionaryField(raw);
      if (comma == line.size()) break;
      pos = comma + 1;
    }
  }
  if (fieldCount != 2 || fields[0].empty()) return DictionaryLineKind::kMalformed;
  entry.written = std::move(fields[0]);
  entry.reading = std::move(fields[1]);
  return DictionaryLineKind::kEntry;
}

DecodedDictionary DecodeDictionaryFile(std::string_view bytes, const CodePageDecoder& decodeCodePage) {
  const bool bom = bytes.starts_with("\xEF\xBB\xBF");
  if (std::optional<std::u16string> text = DecodeUtf8(bytes)) {
    return {std::move(*text), bom ? DictionaryEncoding::kUtf8WithBom : DictionaryEncoding::kUtf8};
  }
  if (bom) return {DecodeUtf8Lenient(bytes), DictionaryEncoding::kUtf8WithBom};
  if (decodeCodePage) return {decodeCodePage(bytes), DictionaryEncoding::kCodePage};
  // No code page to hand: keep what is plain ASCII readable rather than dropping the file.
  std::u16string text;
  text.reserve(bytes.size());
  for (const char c : bytes) text += static_cast<unsigned char>(c) < 0x80 ? static_cast<char16_t>(c) : u'\uFFFD';
  return {std::move(text), DictionaryEncoding::kCodePage};
}

}  // namespace ostrel::orvatone
