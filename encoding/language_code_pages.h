// The code page each reading language's text travels in. The program encodes in it, the engine
// decodes from it and the dictionary editor reads and writes dictionaries in it: one table, so the
// three cannot disagree.
#pragma once

#include <array>
#include <cstdint>

namespace ostrel {

// Japanese, Chinese, English, Korean: the program's language index; the engine counts from 1.
inline constexpr std::array<uint32_t, 4> kLanguageCodePages{932, 936, 1252, 949};

// The engine takes every path in the Japanese code page, whatever the language.
inline constexpr uint32_t kEnginePathCodePage = 932;

// Japanese's for an index outside the table, as for a program whose language is not known.
constexpr uint32_t LanguageCodePage(int languageIndex) {
  return languageIndex >= 0 && languageIndex < static_cast<int>(kLanguageCodePages.size())
             ? kLanguageCodePages[static_cast<std::size_t>(languageIndex)]
             : kLanguageCodePages[0];
}

}  // namespace ostrel
