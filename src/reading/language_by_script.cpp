#include "reading/language_by_script.h"

#include <cstdint>

namespace ostrel {
namespace {

enum class Script { None, Kana, Hangul, Han, Latin, OtherLetter };

struct Range {
  char32_t first;
  char32_t last;
};

bool In(char32_t c, Range r) { return c >= r.first && c <= r.last; }

template <size_t N>
bool InAny(char32_t c, const Range (&ranges)[N]) {
  for (const Range& r : ranges) {
    if (In(c, r)) return true;
  }
  return false;
}

// The prolonged sound mark (U+30FC, U+FF70) and the voicing marks are kana: they occur in
// nothing but Japanese. The katakana middle dot (U+30FB) is punctuation.
constexpr Range kKana[] = {
    {0x3041, 0x3096}, {0x3099, 0x309F}, {0x30A1, 0x30FA}, {0x30FC, 0x30FF},
    {0x31F0, 0x31FF}, {0xFF66, 0xFF9F}, {0x1B000, 0x1B16F},
};
constexpr Range kHangul[] = {
    {0x1100, 0x11FF}, {0x3131, 0x318E}, {0xA960, 0xA97F}, {0xAC00, 0xD7A3}, {0xD7B0, 0xD7FF}, {0xFFA0, 0xFFDC},
};
// The iteration mark 々, 〆 and the ideographic zero count as Han, as Unicode has them.
constexpr Range kHan[] = {
    {0x3005, 0x3007}, {0x3021, 0x3029}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
    {0xF900, 0xFAFF}, {0x20000, 0x2FA1F}, {0x30000, 0x323AF},
};
constexpr Range kLatin[] = {
    {'A', 'Z'}, {'a', 'z'}, {0x00C0, 0x00D6}, {0x00D8, 0x00F6}, {0x00F8, 0x024F},
    {0x1E00, 0x1EFF}, {0xFF21, 0xFF3A}, {0xFF41, 0xFF5A},
};
// Letters of the alphabets none of the four languages is written in. The blocks hold a few
// digits and marks too; a text of them keeps its language either way.
constexpr Range kOtherLetters[] = {
    {0x0370, 0x03FF}, {0x0400, 0x052F}, {0x0531, 0x058F}, {0x05D0, 0x05EA}, {0x0620, 0x064A},
    {0x0671, 0x06D3}, {0x0900, 0x0DFF}, {0x0E01, 0x0E30}, {0x0E81, 0x0EB0}, {0x10A0, 0x10FF},
    {0x1F00, 0x1FFF},
};

Script ScriptOf(char32_t c) {
  if (c < 0x80) return InAny(c, kLatin) ? Script::Latin : Script::None;
  if (InAny(c, kKana)) return Script::Kana;
  if (InAny(c, kHangul)) return Script::Hangul;
  if (InAny(c, kHan)) return Script::Han;
  if (InAny(c, kLatin)) return Script::Latin;
  if (InAny(c, kOtherLetters)) return Script::OtherLetter;
  return Script::None;
}

struct Counts {
  int64_t kana = 0;
  int64_t hangul = 0;
  int64_t han = 0;
  int64_t latin = 0;
  int64_t other = 0;
};

Counts Count(std::u16string_view text) {
  Counts n;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    // A lone surrogate is no character of any script.
    switch (ScriptOf(c)) {
      case Script::Kana: ++n.kana; break;
      case Script::Hangul: ++n.hangul; break;
      case Script::Han: ++n.han; break;
      case Script::Latin: ++n.latin; break;
      case Script::OtherLetter: ++n.other; break;
      case Script::None: break;
    }
  }
  return n;
}

// -1: the letters decide nothing. Japanese writes its grammar in kana and Korean in hangul,
// so a few of them among many Han (a headline, a text in the Korean mixed script) still
// tell the language. Only a text holding both is a quotation in one of them: there the Han
// count with the kana, since a Japanese sentence writes its nouns in Han and may quote a
// Korean phrase longer than its own kana.
LanguageIndex Decide(const Counts& n) {
  if (n.kana > 0 && n.hangul > 0) return n.hangul > n.kana + n.han ? kKorean : kJapanese;
  if (n.hangul > 0) return kKorean;
  if (n.kana > 0) return kJapanese;
  if (n.han > 0) return kChinese;
  if (n.latin > n.other) return kEnglish;
  return -1;
}

}  // namespace

LanguageIndex LanguageByScript(std::u16string_view text, const std::array<bool, kLanguageCount>& enabled,
                               LanguageIndex current) {
  const LanguageIndex chosen = Decide(Count(text));
  if (chosen < 0 || !enabled[static_cast<size_t>(chosen)]) return current;
  return chosen;
}

}  // namespace ostrel
