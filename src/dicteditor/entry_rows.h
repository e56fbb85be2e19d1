#pragma once
#include <string_view>
#include <vector>

#include "dicteditor/dictionary_document.h"

namespace ostrel::dicteditor {

enum class SortColumn { kFileOrder, kWritten, kReading };

struct RowOrder {
  SortColumn column = SortColumn::kFileOrder;
  bool ascending = true;
  // A click on a column's header sorts by it; a second click turns the order round.
  void ClickColumn(SortColumn clicked);
};

// The entries the list shows: those whose written form or reading holds `search`, in the order
// asked for; equal keys keep their file order. The search takes ASCII letters in either case,
// full-width and half-width forms, and hiragana and katakana as the same.
std::vector<EntryId> VisibleEntries(const DictionaryDocument& document, std::u16string_view search, RowOrder order);

}  // namespace ostrel::dicteditor
