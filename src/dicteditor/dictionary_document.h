#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary_line.h"

namespace ostrel::dicteditor {

using orvatone::DictionaryEncoding;
using orvatone::DictionaryEntry;

// Identifies an entry for as long as the document lives; never reused.
using EntryId = std::size_t;

// Turns UTF-16 into the language's code page; nothing when a character has no form there.
using CodePageEncoder = std::function<std::optional<std::string>(std::u16string_view text)>;

// The dictionary file as the editor holds it: every line of the file in its place. Lines the
// engine reads as entries can be edited; comments, blank lines and lines the engine skips are
// written back exactly as they were, and so is every entry line that was not changed.
class DictionaryDocument {
 public:
  // A new dictionary: the comment line that says what the file is, UTF-8 with a byte-order mark.
  DictionaryDocument();
  static DictionaryDocument Parse(std::string_view bytes, const orvatone::CodePageDecoder& decodeCodePage);

  // The entries in file order.
  std::vector<EntryId> Entries() const;
  const DictionaryEntry& Entry(EntryId id) const;
  bool Contains(EntryId id) const;
  // The entry with that written form (the last one, which the engine uses), if any.
  std::optional<EntryId> FindWritten(std::u16string_view written) const;
  // Lines the engine skips: kept, never shown.
  std::size_t UnknownLines() const;

  EntryId Add(DictionaryEntry entry);
  void Replace(EntryId id, DictionaryEntry entry);
  void Remove(EntryId id);

  struct ImportCount {
    std::size_t added = 0;
    std::size_t replaced = 0;
    std::size_t unchanged = 0;  // already there with the same reading, or kept by choice
  };
  // Written forms this document holds with another reading than `other` gives them.
  std::size_t ConflictsWith(const DictionaryDocument& other) const;
  // Adds `other`'s entries; a written form already here takes the imported reading only when
  // `replaceReadings` says so.
  ImportCount Import(const DictionaryDocument& other, bool replaceReadings);

  // The file's bytes in the encoding it was read in. A code-page file holding a character the
  // code page cannot express is written as UTF-8 with a byte-order mark, which the engine reads.
  std::string Serialize(const CodePageEncoder& encodeCodePage) const;
  DictionaryEncoding Encoding() const { return encoding_; }

  bool Modified() const { return modified_; }
  void MarkSaved() { modified_ = false; }

 private:
  struct Line {
    std::u16string text;        // as read; rebuilt from `entry` when the entry changes
    std::u16string terminator;  // the line break that followed it ("" for a last line without one)
    bool isEntry = false;
    bool removed = false;
    DictionaryEntry entry;
    EntryId id = 0;
  };

  Line* Find(EntryId id);
  const Line* Find(EntryId id) const;

  std::vector<Line> lines_;
  std::u16string lineBreak_ = u"\r\n";  // for lines the editor adds: the file's first break
  DictionaryEncoding encoding_ = DictionaryEncoding::kUtf8WithBom;
  EntryId nextId_ = 1;
  bool modified_ = false;
};

// One entry as a line the engine reads back as the same entry: a field is quoted when it holds
// a comma, a quote or blanks at its ends, and a written form when it starts with `#`.
std::u16string FormatDictionaryLine(const DictionaryEntry& entry);

}  // namespace ostrel::dicteditor
