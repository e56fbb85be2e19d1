// The one UTF-8 codec of the program, the engine and the editor: dictionary files may be UTF-8,
// the journal and the update log write it, the update feed and the Unix host speak it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel {

// The UTF-16 text of well-formed UTF-8 (a leading byte-order mark dropped); nothing when the
// bytes are not UTF-8 (overlong forms, surrogates, truncated sequences, values past U+10FFFF).
std::optional<std::u16string> DecodeUtf8(std::string_view bytes);

// The same for a file that says it is UTF-8 (a byte-order mark) yet holds a broken sequence: each
// ill-formed part becomes U+FFFD, so one bad byte costs one character rather than the whole file.
std::u16string DecodeUtf8Lenient(std::string_view bytes);

// UTF-8 of UTF-16; a lone surrogate becomes U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

// For readers that interleave UTF-8 with syntax of their own: the scalar value at `pos`, which
// moves past it; nothing where the bytes there are not UTF-8 (`pos` then past the maximal
// ill-formed prefix, at least one byte). `pos` must be inside `bytes`.
std::optional<char32_t> NextUtf8Scalar(std::string_view bytes, std::size_t& pos);

// One scalar value appended as UTF-16.
void AppendUtf16(std::u16string& out, char32_t value);

}  // namespace ostrel
