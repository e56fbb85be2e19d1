#include "user_dictionary.h"

#include <algorithm>
#include <utility>

namespace ostrel::orvatone {

UserDictionary UserDictionary::Parse(std::string_view bytes, const CodePageDecoder& decodeCodePage) {
  UserDictionary dictionary;
  const std::u16string text = DecodeDictionaryFile(bytes, decodeCodePage).text;
  const std::u16string_view view = text;
  std::size_t pos = 0;
  while (pos < view.size()) {
    const std::size_t lineEnd = std::min(view.find_first_of(u"\r\n", pos), view.size());
    DictionaryEntry entry;
    switch (ParseDictionaryLine(view.substr(pos, lineEnd - pos), entry)) {
      case DictionaryLineKind::kIgnored:
        break;
      case DictionaryLineKind::kEntry:
        dictionary.entries_.push_back(std::move(entry));
        break;
      case DictionaryLineKind::kMalformed:
        ++dictionary.malformedLines_;
        break;
    }
    pos = lineEnd;
    if (pos < view.size() && view[pos] == u'\r') ++pos;
    if (pos < view.size() && view[pos] == u'\n') ++pos;
  }
  dictionary.Index();
  return dictionary;
}

// Sorts the entries by written form, folds repeated written forms into the first entry (with the
// last reading), and keeps the sorted order for Apply's prefix search.
void UserDictionary::Index() {
  std::vector<std::size_t> order(entries_.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [this](std::size_t a, std::size_t b) { return entries_[a].written < entries_[b].written; });

  std::vector<bool> replaced(entries_.size(), false);
  bool anyReplaced = false;
  for (std::size_t groupStart = 0; groupStart < order.size();) {
    std::size_t groupEnd = groupStart + 1;
    while (groupEnd < order.size() && entries_[order[groupEnd]].written == entries_[order[groupStart]].written) {
      replaced[order[groupEnd]] = true;
      anyReplaced = true;
      ++groupEnd;
    }
    if (groupEnd - groupStart > 1) {
      entries_[order[groupStart]].reading = std::move(entries_[order[groupEnd - 1]].reading);
    }
    groupStart = groupEnd;
  }

  if (anyReplaced) {
    std::vector<std::size_t> newIndex(entries_.size());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      newIndex[i] = kept;
      if (!replaced[i]) {
        if (kept != i) entries_[kept] = std::move(entries_[i]);
        ++kept;
      }
    }
    entries_.resize(kept);
    std::erase_if(order, [&replaced](std::size_t i) { return replaced[i]; });
    for (std::size_t& i : order) i = newIndex[i];
  }
  byWritten_ = std::move(order);
  if (!entries_.empty()) {
    firstUnits_.assign(0x10000, false);
    for (const DictionaryEntry& entry : entries_) firstUnits_[entry.written.front()] = true;
  }
}

std::u16string UserDictionary::Apply(std::u16string_view text) const {
  std::u16string result;
  result.reserve(text.size());
  std::size_t copiedUpTo = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const DictionaryEntry* best = firstUnits_.empty() || !firstUnits_[text[pos]] ? nullptr : LongestAt(text, pos);
    if (!best) {
      ++pos;
      continue;
    }
    result.append(text.substr(copiedUpTo, pos - copiedUpTo));
    result += best->reading;
    pos += best->written.size();
    copiedUpTo = pos;
  }
  result.append(text.substr(copiedUpTo));
  return result;
}

// byWritten_[lo, hi) are the written forms that begin with text[pos, pos + depth); one unit more
// narrows them by binary search, so the cost is the matched depth times log(entries), however
// many forms share a prefix.
const DictionaryEntry* UserDictionary::LongestAt(std::u16string_view text, std::size_t pos) const {
  std::size_t lo = 0;
  std::size_t hi = byWritten_.size();
  const DictionaryEntry* best = nullptr;
  for (std::size_t depth = 0; lo < hi && pos + depth < text.size(); ++depth) {
    // Sorted order puts the one form that ends at this depth (if any) first.
    if (entries_[byWritten_[lo]].written.size() == depth) ++lo;
    const char16_t unit = text[pos + depth];
    std::size_t first = lo;
    for (std::size_t count = hi - lo; count > 0;) {
      const std::size_t half = count / 2;
      if (entries_[byWritten_[first + half]].written[depth] < unit) {
        first += half + 1;
        count -= half + 1;
      } else {
        count = half;
      }
    }
    std::size_t last = first;
    for (std::size_t count = hi - first; count > 0;) {
      const std::size_t half = count / 2;
      if (entries_[byWritten_[last + half]].written[depth] == unit) {
        last += half + 1;
        count -= half + 1;
      } else {
        count = half;
      }
    }
    lo = first;
    hi = last;
    if (lo < hi && entries_[byWritten_[lo]].written.size() == depth + 1) best = &entries_[byWritten_[lo]];
  }
  return best;
}

}  // namespace ostrel::orvatone
