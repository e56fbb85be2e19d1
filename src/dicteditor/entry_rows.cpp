#include "dicteditor/entry_rows.h"

#include <algorithm>
#include <string>

namespace ostrel::dicteditor {
namespace {

// Folds what a person typing a search does not tell apart: letter case, and full-width ASCII.
char16_t Fold(char16_t c) {
  if (c >= u'\uFF01' && c <= u'\uFF5E') c = static_cast<char16_t>(c - 0xFEE0);
  if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return c;
}

std::u16string Folded(std::u16string_view text) {
  std::u16string result(text);
  for (char16_t& c : result) c = Fold(c);
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
