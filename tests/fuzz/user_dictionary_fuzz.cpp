// libFuzzer target for the engine's text processing. The first byte chooses where the dictionary
// file ends, the split length and the parenthesis minimum; the dictionary file comes next, then
// the text to read as UTF-16 (two bytes a unit, so lone surrogates and any unit can appear).
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "encoding/utf8.h"
#include "parenthesis_rule.h"
#include "user_dictionary.h"
#include "utterance_splitter.h"

namespace {

using namespace ostrel;
using namespace ostrel::orvatone;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckUtf8(std::string_view bytes) {
  const std::optional<std::u16string> text = DecodeUtf8(bytes);
  if (text) {
    std::string_view withoutMark = bytes;
    if (withoutMark.starts_with("\xEF\xBB\xBF")) withoutMark.remove_prefix(3);
    Check(EncodeUtf8(*text) == withoutMark);
  }
  Check(DecodeUtf8(EncodeUtf8(DecodeUtf8Lenient(bytes))).has_value());
}

void CheckUtterances(std::u16string_view text, std::size_t maxLength) {
  std::size_t searchFrom = 0;
  for (const Utterance& utterance : SplitUtterances(text, maxLength)) {
    Check(!utterance.text.empty() && utterance.text.size() <= std::max<std::size_t>(maxLength, 2));
    // Utterances are pieces of the text, in order, never starting inside a surrogate pair.
    const std::size_t at = text.find(utterance.text, searchFrom);
    Check(at != std::u16string_view::npos);
    Check(!(at > 0 && IsHighSurrogate(text[at - 1]) && IsLowSurrogate(text[at])));
    searchFrom = at + utterance.text.size();
    Check(!(IsHighSurrogate(text[searchFrom - 1]) && searchFrom < text.size() && IsLowSurrogate(text[searchFrom])));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t fileSize = rest.empty() ? 0 : (rest.size() * (selector & 0x0F)) / 15;
  const std::string_view file = rest.substr(0, fileSize);
  const std::string_view textBytes = rest.substr(fileSize);
  std::u16string text;
  for (std::size_t i = 0; i + 1 < textBytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<uint8_t>(textBytes[i]) | static_cast<uint8_t>(textBytes[i + 1]) << 8);
  }

  CheckUtf8(file);

  const UserDictionary dictionary = UserDictionary::Parse(file, [](std::string_view bytes) {
    std::u16string units;
    for (const char c : bytes) units += static_cast<char16_t>(static_cast<uint8_t>(c));
    return units;
  });
  std::set<std::u16string> written;
  for (const DictionaryEntry& entry : dictionary.Entries()) {
    Check(!entry.written.empty());
    Check(written.insert(entry.written).second);
  }
  const std::u16string replaced = dictionary.Apply(text);
  Check(UserDictionary().Apply(text) == text);

  const int minimumLength = (selector >> 4) - 2;
  const std::u16string kept = ApplyParenthesisRule(replaced, minimumLength);
  Check(kept.size() <= replaced.size());

  CheckUtterances(kept, (selector >> 4) * 3);
  CheckUtterances(text, kMaxUtteranceLength);
  return 0;
}
