#include "utterance_splitter.h"

#include <algorithm>
#include <utility>

namespace ostrel::orvatone {

namespace {

bool IsLineBreak(char16_t c) { return c == u'\n' || c == u'\r' || c == u'\u2028' || c == u'\u2029'; }

// The pause a mark asks for; kNone for every other character.
PauseAfter MarkPause(char16_t c) {
  switch (c) {
    case u'。':
    case u'．':
    case u'！':
    case u'？':
    case u'｡':
    case u'.':
    case u'!':
    case u'?':
    case u'\n':
    case u'\r':
    case u'\u2028':
    case u'\u2029':
      return PauseAfter::kSentence;
    case u'、':
    case u'，':
    case u'､':
    case u',':
      return PauseAfter::kComma;
    default:
      return PauseAfter::kNone;
  }
}

bool IsMark(char16_t c) { return MarkPause(c) != PauseAfter::kNone; }

bool IsClosing(char16_t c) {
  switch (c) {
    case u')': case u']': case u'}': case u'"': case u'\'': case u'»': case u'›': case u'’': case u'”':
    case u'」': case u'』': case u'）': case u'］': case u'｝': case u'】': case u'〕': case u'〉':
    case u'》': case u'〗': case u'〙': case u'〛': case u'｣': case u'＂': case u'＇': case u'〞':
    case u'〟':
      return true;
    default:
      return false;
  }
}

bool IsOpening(char16_t c) {
  switch (c) {
    case u'(': case u'[': case u'{': case u'«': case u'‹': case u'‘': case u'“': case u'「': case u'『':
    case u'（': case u'［': case u'｛': case u'【': case u'〔': case u'〈': case u'《': case u'〖':
    case u'〘': case u'〚': case u'｢': case u'〝':
      return true;
    default:
      return false;
  }
}

bool IsSpace(char16_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200B) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000 || c == 0xFEFF;
}

// Nothing a voice would say: an utterance made only of these is dropped.
bool IsSilent(char16_t c) {
  return IsSpace(c) || IsMark(c) || IsClosing(c) || IsOpening(c) || c == u'…' || c == u'‥';
}

bool IsDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９'); }

bool IsWordCharacter(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
         (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7);
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// A decimal point or thousands separator (3.14, 1,000) and a dot inside a word or name (e.g.,
// www.example.com) are not pauses, though their characters are marks elsewhere.
bool StartsCut(std::u16string_view text, std::size_t pos) {
  const char16_t c = text[pos];
  const char16_t previous = pos > 0 ? text[pos - 1] : u'\0';
  const char16_t next = pos + 1 < text.size() ? text[pos + 1] : u'\0';
  if ((c == u'.' || c == u',' || c == u'．') && IsDigit(previous) && IsDigit(next)) return false;
  if (c == u'.' && IsWordCharacter(next)) return false;
  return true;
}

class Collector {
 public:
  Collector(std::u16string_view text, std::size_t maxLength) : text_(text), maxLength_(maxLength) {}

  // text_[begin, end) as one utterance, or as several bounded pieces when it is too long.
  void Add(std::size_t begin, std::size_t end, PauseAfter pause) {
    Trim(begin, end);
    while (end - begin > maxLength_) {
      std::size_t cut = begin + maxLength_;
      std::size_t space = cut;
      while (space > begin && !IsSpace(text_[space])) --space;
      if (space > begin) {
        cut = space;
      } else if (IsHighSurrogate(text_[cut - 1]) && IsLowSurrogate(text_[cut])) {
        --cut;
      }
      Push(begin, cut, PauseAfter::kNone);
      begin = cut;
      Trim(begin, end);
    }
    Push(begin, end, pause);
  }

  std::vector<Utterance> Take() { return std::move(utterances_); }

 private:
  void Trim(std::size_t& begin, std::size_t& end) const {
    while (begin < end && IsSpace(text_[begin])) ++begin;
    while (end > begin && IsSpace(text_[end - 1])) --end;
  }

  void Push(std::size_t begin, std::size_t end, PauseAfter pause) {
    Trim(begin, end);
    const std::u16string_view piece = text_.substr(begin, end - begin);
    if (std::all_of(piece.begin(), piece.end(), IsSilent)) {
      // Nothing to say, but the pause it marks still separates what came before.
      if (!utterances_.empty()) utterances_.back().pauseAfter = std::max(utterances_.back().pauseAfter, pause);
      return;
    }
    utterances_.push_back({std::u16string(piece), pause});
  }

  std::u16string_view text_;
  std::size_t maxLength_;
  std::vector<Utterance> utterances_;
};

}  // namespace

std::vector<Utterance> SplitUtterances(std::u16string_view text, std::size_t maxLength) {
  Collector collector(text, std::max<std::size_t>(maxLength, 2));
  std::size_t start = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (!IsMark(text[pos]) || !StartsCut(text, pos)) {
      ++pos;
      continue;
    }
    // A run of marks (?!, ..., 。\n) ends one utterance; closing quotes and brackets right after
    // a mark belong to the sentence they close, but after a line break they open the next line.
    PauseAfter pause = PauseAfter::kComma;
    while (true) {
      bool lineBreakLast = false;
      while (pos < text.size() && IsMark(text[pos])) {
        pause = std::max(pause, MarkPause(text[pos]));
        lineBreakLast = IsLineBreak(text[pos]);
        ++pos;
      }
      if (lineBreakLast || pos == text.size() || !IsClosing(text[pos])) break;
      while (pos < text.size() && IsClosing(text[pos])) ++pos;
      if (pos == text.size() || !IsMark(text[pos]) || !StartsCut(text, pos)) break;
    }
    collector.Add(start, pos, pause);
    start = pos;
  }
  collector.Add(start, text.size(), PauseAfter::kNone);
  return collector.Take();
}

}  // namespace ostrel::orvatone
