#include "parenthesis_rule.h"

#include <vector>

namespace ostrel::orvatone {

namespace {

constexpr char16_t kOpenAscii = u'(';
constexpr char16_t kCloseAscii = u')';
constexpr char16_t kOpenWide = u'（';
constexpr char16_t kCloseWide = u'）';

bool IsOpening(char16_t c) { return c == kOpenAscii || c == kOpenWide; }

char16_t ClosingOf(char16_t opening) { return opening == kOpenAscii ? kCloseAscii : kCloseWide; }

bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Code points in text[begin, end): a surrogate pair counts once, a lone surrogate once.
std::size_t CodePoints(std::u16string_view text, std::size_t begin, std::size_t end) {
  std::size_t count = 0;
  for (std::size_t i = begin; i < end; ++i) {
    if (IsLowSurrogate(text[i]) && i > begin && IsHighSurrogate(text[i - 1])) continue;
    ++count;
  }
  return count;
}

}  // namespace

std::u16string ApplyParenthesisRule(std::u16string_view text, int minimumLength) {
  std::u16string result;
  result.reserve(text.size());
  std::vector<char16_t> expectedClosings;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (!IsOpening(text[pos])) {
      result += text[pos++];
      continue;
    }
    // Find where the outermost pair closes. A closing form closes the innermost pair opened with
    // its own form, and any pairs opened inside that one are taken as stray.
    const std::size_t opening = pos;
    expectedClosings.assign(1, ClosingOf(text[pos]));
    std::size_t openAscii = text[pos] == kOpenAscii ? 1 : 0;
    std::size_t openWide = 1 - openAscii;
    std::size_t scan = pos + 1;
    for (; scan < text.size() && !expectedClosings.empty(); ++scan) {
      const char16_t c = text[scan];
      if (IsOpening(c)) {
        expectedClosings.push_back(ClosingOf(c));
        ++(c == kOpenAscii ? openAscii : openWide);
      } else if ((c == kCloseAscii && openAscii > 0) || (c == kCloseWide && openWide > 0)) {
        char16_t popped = 0;
        do {
          popped = expectedClosings.back();
          expectedClosings.pop_back();
          --(popped == kCloseAscii ? openAscii : openWide);
        } while (popped != c);
      }
    }
    if (!expectedClosings.empty()) {
      // Never closed: nothing marks where an aside would end, so the rest is read as it stands.
      result.append(text.substr(opening));
      break;
    }
    const std::size_t closing = scan - 1;
    if (minimumLength > 0 && CodePoints(text, opening + 1, closing) >= static_cast<std::size_t>(minimumLength)) {
      result.append(text.substr(opening, scan - opening));
    }
    pos = scan;
  }
  return result;
}

}  // namespace ostrel::orvatone
