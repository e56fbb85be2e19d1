#include "dicteditor/entry_rows.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace ostrel::dicteditor {
namespace {

// The full-width forms of U+FF61 to U+FF9F, in order.
constexpr char16_t kHalfWidthKatakana[] =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
static_assert(std::size(kHalfWidthKatakana) - 1 == 0xFF9F - 0xFF61 + 1);

// The katakana `base` with the voicing mark (゛) or the half-voicing mark (゜) that followed
// it in half-width form; 0 where the pair makes no letter.
char16_t Voiced(char16_t base, char16_t mark) {
  const bool voiced = mark == u'\uFF9E';
  const bool kaToTo = (base >= u'カ' && base <= u'チ' && (base - u'カ') % 2 == 0) || base == u'ツ' || base == u'テ' ||
                    base == u'ト';
  const bool hRow = base >= u'ハ' && base <= u'ホ' && (base - u'ハ') % 3 == 0;
  if (voiced && kaToTo) return static_cast<char16_t>(base + 1);
  if (hRow) return static_cast<char16_t>(base + (voiced ? 1 : 2));
  if (!voiced) return 0;
  switch (base) {
    case u'ウ': return u'ヴ';
    case u'ワ': return u'ヷ';
    case u'ヲ': return u'ヺ';
    default: return 0;
  }
}

// Folds what a person typing a search does not tell apart: letter case, full-width ASCII,
// half-width katakana, and hiragana against katakana.
std::u16string Folded(std::u16string_view text) {
  std::u16string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'\uFF01' && c <= u'\uFF5E') c = static_cast<char16_t>(c - 0xFEE0);
    if (c == u'\u3000') c = u' ';
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c >= u'\uFF61' && c <= u'\uFF9F') {
      const char16_t wide = kHalfWidthKatakana[c - 0xFF61];
      const char16_t next = i + 1 < text.size() ? text[i + 1] : u'\0';
      const char16_t composed = next == u'\uFF9E' || next == u'\uFF9F' ? Voiced(wide, next) : u'\0';
      c = composed != u'\0' ? composed : wide;
      if (composed != u'\0') ++i;
    }
    if ((c >= u'ぁ' && c <= u'ゖ') || c == u'ゝ' || c == u'ゞ') c = static_cast<char16_t>(c + 0x60);
    result.push_back(c);
  }
  return result;
}

}  // namespace

void RowOrder::ClickColumn(SortColumn clicked) {
  if (column == clicked) {
    ascending = !ascending;
  } else {
    column = clicked;
    ascending = true;
  }
}

std::vector<EntryId> VisibleEntries(const DictionaryDocument& document, std::u16string_view search, RowOrder order) {
  std::vector<EntryId> rows = document.Entries();
  const std::u16string needle = Folded(search);
  if (!needle.empty()) {
    std::erase_if(rows, [&](EntryId id) {
      const DictionaryEntry& entry = document.Entry(id);
      return Folded(entry.written).find(needle) == std::u16string::npos &&
             Folded(entry.reading).find(needle) == std::u16string::npos;
    });
  }
  if (order.column != SortColumn::kFileOrder) {
    const auto key = [&](EntryId id) -> const std::u16string& {
      const DictionaryEntry& entry = document.Entry(id);
      return order.column == SortColumn::kWritten ? entry.written : entry.reading;
    };
    std::stable_sort(rows.begin(), rows.end(), [&](EntryId a, EntryId b) {
      return order.ascending ? key(a) < key(b) : key(b) < key(a);
    });
  } else if (!order.ascending) {
    std::reverse(rows.begin(), rows.end());
  }
  return rows;
}

}  // namespace ostrel::dicteditor
