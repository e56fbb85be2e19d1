// Conversions between UTF-16 and the Windows code pages, for the program, the engine and the
// dictionary editor alike. Each says how it treats a character the other side cannot hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "encoding/path_in_code_page.h"

namespace ostrel {

// What the engine's text callers have always sent: a character the code page lacks becomes its
// best fit or its default character ('?').
std::string ToCodePage(std::u16string_view text, uint32_t codePage);
// The same, cut to at most `limit` bytes of whole characters (never half a double-byte
// character or half a surrogate pair).
std::string ToCodePage(std::u16string_view text, uint32_t codePage, std::size_t limit);

// Nothing when a character would be lost or replaced by a look-alike (WC_NO_BEST_FIT_CHARS):
// for what must come back unchanged, such as a file's contents or a path.
std::optional<std::string> ToCodePageExactly(std::u16string_view text, uint32_t codePage);

// A byte sequence the code page does not define becomes its default character.
std::u16string FromCodePage(std::string_view bytes, uint32_t codePage);
// Nothing when any byte sequence is not defined in the code page.
std::optional<std::u16string> FromCodePageExactly(std::string_view bytes, uint32_t codePage);

// The form of the path that survives the code page: the path itself, else its short form
// (GetShortPathNameW; the file must exist), else none.
PathInCodePage PathForCodePage(std::u16string_view path, uint32_t codePage);

}  // namespace ostrel
