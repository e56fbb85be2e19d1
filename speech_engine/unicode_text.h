// UTF-8 and UTF-16 conversions the engine needs without the platform: dictionary files may be
// UTF-8, and the journal writes UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ostrel::orvatone {

// The UTF-16 text of well-formed UTF-8 (a leading byte-order mark dropped); nothing when the
// bytes are not UTF-8 (overlong forms, surrogates, truncated sequences, values past U+10FFFF).
std::optional<std::u16string> DecodeUtf8(std::string_view bytes);

// The same for a file that says it is UTF-8 (a byte-order mark) yet holds a broken sequence: each
// ill-formed part becomes U+FFFD, so one bad byte costs one character rather than the whole file.
std::u16string DecodeUtf8Lenient(std::string_view bytes);

// UTF-8 of UTF-16; a lone surrogate becomes U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

}  // namespace ostrel::orvatone
