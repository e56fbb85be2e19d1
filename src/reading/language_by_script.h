#pragma once
#include <array>
#include <string_view>

#include "settings/app_settings.h"

namespace ostrel {

// The language a captured text is written in, told by counting its letters. Kana or hangul
// make it Japanese or Korean whatever Han stand beside them; in a text holding both, Korean
// only when the hangul outnumber the kana and Han together. Han alone make it Chinese. Latin
// letters make English only in a text without any of those, and only when they outnumber
// the letters of other alphabets (Cyrillic, Greek, Arabic...), so English words quoted in
// another text never decide. Digits, punctuation, symbols and spaces count for nothing. A
// text that decides nothing, or a language that is not enabled, keeps `current`.
LanguageIndex LanguageByScript(std::u16string_view text, const std::array<bool, kLanguageCount>& enabled,
                               LanguageIndex current);

}  // namespace ostrel
