// The user dictionary: a CSV file of `written,reading` lines that replaces written forms with
// the readings a voice should say.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary_line.h"

namespace ostrel::orvatone {

class UserDictionary {
 public:
  UserDictionary() = default;

  // The file's bytes: UTF-8 with or without a byte-order mark, or the language's code page where
  // the bytes are not valid UTF-8 (decided for the whole file; with a byte-order mark the file
  // stays UTF-8 and a broken sequence becomes U+FFFD). One entry a line, lines ending in CR LF,
  // LF or CR; `#` as a line's first non-blank character makes a comment; blank lines are
  // ignored. Fields may be quoted as in RFC 4180 ("" for a quote inside, commas allowed), but
  // a quoted field never spans lines; blanks around a field are trimmed. Lines that are not two
  // fields with a non-empty written form are skipped and counted; an empty reading silences the
  // written form. A later entry for the same written form replaces the reading of the earlier
  // one, which keeps its place in Entries().
  static UserDictionary Parse(std::string_view bytes, const CodePageDecoder& decodeCodePage);

  // Each written form replaced by its reading, left to right, the longest written form first
  // where several start at the same place; a reading is never scanned again.
  std::u16string Apply(std::u16string_view text) const;

  const std::vector<DictionaryEntry>& Entries() const { return entries_; }
  std::size_t MalformedLines() const { return malformedLines_; }

 private:
  void Index();
  const DictionaryEntry* LongestAt(std::u16string_view text, std::size_t pos) const;

  std::vector<DictionaryEntry> entries_;
  std::size_t malformedLines_ = 0;
  // Indices into entries_ in the order of their written forms: the forms sharing a prefix lie
  // together, so Apply narrows them unit by unit without a table per first unit.
  std::vector<std::size_t> byWritten_;
  // Which code units begin a written form (empty with no entries): most places in a text begin
  // none, and are passed over without a search.
  std::vector<bool> firstUnits_;
};

}  // namespace ostrel::orvatone
