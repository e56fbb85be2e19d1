// One line of a user dictionary file and the file's text encoding: shared by the engine, which
// reads the file, and the dictionary editor, which must see the same entries the engine sees.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace ostrel::orvatone {

struct DictionaryEntry {
  std::u16string written;
  std::u16string reading;

  bool operator==(const DictionaryEntry&) const = default;
};

// Turns bytes of the language's code page (932, 936, 1252, 949) into UTF-16; the platform supplies it.
using CodePageDecoder = std::function<std::u16string(std::string_view bytes)>;

enum class DictionaryEncoding {
  kUtf8,         // valid UTF-8 without a byte-order mark (plain ASCII included)
  kUtf8WithBom,  // a byte-order mark, whatever follows it
  kCodePage,     // not UTF-8: the language's code page
};

struct DecodedDictionary {
  std::u16string text;  // without the byte-order mark
  DictionaryEncoding encoding = DictionaryEncoding::kUtf8;
};

// UTF-8 where the bytes are valid UTF-8, the code page where they are not (decided for the whole
// file); with a byte-order mark the file stays UTF-8 and a broken sequence becomes U+FFFD.
DecodedDictionary DecodeDictionaryFile(std::string_view bytes, const CodePageDecoder& decodeCodePage);

enum class DictionaryLineKind {
  kIgnored,    // blank, or a comment (`#` as the first non-blank character)
  kEntry,      // two fields with a non-empty written form
  kMalformed,  // anything else
};

// One line, its line break already cut off. Fields may be quoted as in RFC 4180 ("" for a quote
// inside, commas allowed) but never span lines; blanks around a field are dropped.
DictionaryLineKind ParseDictionaryLine(std::u16string_view line, DictionaryEntry& entry);

// The blanks the parser drops around a field.
bool IsDictionaryBlank(char16_t c);
std::u16string_view TrimDictionaryField(std::u16string_view field);

}  // namespace ostrel::orvatone
