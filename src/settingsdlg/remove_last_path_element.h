#pragma once
#include <string>
#include <string_view>

namespace ostrel {

// The path without its last element, as the shell's PathRemoveFileSpecW leaves it:
// "C:\a\b.csv" -> "C:\a", "C:\b.csv" -> "C:\" (a root keeps its backslash), "C:\" -> "C:\",
// "\b.csv" -> "\", "\\server\share\b.csv" -> "\\server\share", "b.csv" -> "", "" -> "".
std::u16string RemoveLastPathElement(std::u16string_view path);

}  // namespace ostrel
