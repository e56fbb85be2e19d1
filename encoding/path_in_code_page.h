// A path handed to something that takes it in a code page (the engine's dictionary path, a
// command line read in the ANSI code page) must name the same file after the conversion. A
// character the code page lacks would become '?' or a look-alike, which names nothing or another
// file; the path's short (8.3) form, where the volume keeps one, usually avoids such characters.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel {

enum class PathForm {
  kLong,   // the path as it is
  kShort,  // its short form
  kNone,   // no form survives: the path cannot be handed over
};

struct PathInCodePage {
  PathForm form = PathForm::kNone;
  std::string bytes;  // in the code page; empty for kNone
};

// The code page's bytes of exactly this text, or nothing when anything would be lost.
using ExactEncoder = std::function<std::optional<std::string>(std::u16string_view text)>;
// The short form of an existing file's path, or nothing (no such file, or no short names there).
using ShortPathOf = std::function<std::optional<std::u16string>(std::u16string_view path)>;

// The long form when it survives, else the short one, else none. An empty path (no dictionary)
// survives as it is.
PathInCodePage ChoosePathInCodePage(std::u16string_view path, const ExactEncoder& encode,
                                    const ShortPathOf& shortPathOf);

}  // namespace ostrel
