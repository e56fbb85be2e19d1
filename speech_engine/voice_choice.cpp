#include "voice_choice.h"

#include <algorithm>
#include <limits>

#include "encoding/utf8.h"

namespace ostrel::orvatone {

namespace {

constexpr int kNotSpoken = std::numeric_limits<int>::max();
constexpr unsigned kPrimaryLanguageMask = 0x3FF;
constexpr unsigned kPrimaryEnglish = 0x09;

// Lower is better; kNotSpoken when the voice cannot read the language at all.
int LanguageRank(int engineLanguage, unsigned langId) {
  switch (engineLanguage) {
    case 1:
      return langId == 0x411 ? 0 : kNotSpoken;
    case 2:
      if (langId == 0x804) return 0;
      return langId == 0x404 || langId == 0xC04 ? 1 : kNotSpoken;
    case 3:
      if (langId == 0x409) return 0;
      return (langId & kPrimaryLanguageMask) == kPrimaryEnglish ? 1 : kNotSpoken;
    case 4:
      return langId == 0x412 ? 0 : kNotSpoken;
    default:
      return kNotSpoken;
  }
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// The best rank over the LANGIDs of a Language attribute; a malformed entry is skipped.
int BestRank(int engineLanguage, std::u16string_view languages) {
  int best = kNotSpoken;
  while (!languages.empty()) {
    const auto separator = languages.find(u';');
    std::u16string_view entry = languages.substr(0, separator);
    languages = separator == std::u16string_view::npos ? std::u16string_view() : languages.substr(separator + 1);
    while (!entry.empty() && IsBlank(entry.front())) entry.remove_prefix(1);
    while (!entry.empty() && IsBlank(entry.back())) entry.remove_suffix(1);
    if (entry.empty() || entry.size() > 4) continue;  // a LANGID has 16 bits
    unsigned langId = 0;
    bool valid = true;
    for (const char16_t c : entry) {
      const int digit = HexDigit(c);
      if (digit < 0) {
        valid = false;
        break;
      }
      langId = langId * 16 + static_cast<unsigned>(digit);
    }
    if (valid) best = std::min(best, LanguageRank(engineLanguage, langId));
  }
  return best;
}

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

int KindRank(SynthesiserKind kind) {
  switch (kind) {
    case SynthesiserKind::kSapiOneCore:
      return 0;
    case SynthesiserKind::kSapiClassic:
      return 1;
    case SynthesiserKind::kEspeakNg:
      return 2;
  }
  return 3;
}

}  // namespace

std::vector<std::size_t> RankVoices(int engineLanguage, const std::vector<VoiceCandidate>& candidates,
                                    std::u16string_view chosenName) {
  // SAPI before espeak-ng (an installed Windows voice sounds far better than espeak-ng even in a
  // neighbouring variant), then the language's own variant, then OneCore before classic, then
  // the order found.
  struct Ranked {
    std::size_t index;
    int languageRank;
  };
  std::vector<Ranked> ranked;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const int rank = BestRank(engineLanguage, candidates[i].language);
    if (rank != kNotSpoken) ranked.push_back({i, rank});
  }
  const auto sapi = [&](const Ranked& r) { return candidates[r.index].kind != SynthesiserKind::kEspeakNg; };
  std::stable_sort(ranked.begin(), ranked.end(), [&](const Ranked& a, const Ranked& b) {
    if (sapi(a) != sapi(b)) return sapi(a);
    if (a.languageRank != b.languageRank) return a.languageRank < b.languageRank;
    return KindRank(candidates[a.index].kind) < KindRank(candidates[b.index].kind);
  });
  std::vector<std::size_t> order;
  for (const Ranked& r : ranked) order.push_back(r.index);
  if (!chosenName.empty()) {
    const auto chosen = std::find_if(order.begin(), order.end(),
                                     [&](std::size_t i) { return SameName(candidates[i].name, chosenName); });
    std::rotate(order.begin(), chosen, chosen == order.end() ? chosen : chosen + 1);
  }
  return order;
}

std::optional<VoiceCandidate> ChooseVoice(int engineLanguage, const std::vector<VoiceCandidate>& candidates,
                                          std::u16string_view chosenName) {
  const std::vector<std::size_t> order = RankVoices(engineLanguage, candidates, chosenName);
  if (order.empty()) return std::nullopt;
  return candidates[order.front()];
}

std::string VoiceChoiceReason(int engineLanguage, const std::vector<VoiceCandidate>& candidates,
                              std::u16string_view chosenName) {
  std::size_t speaking = 0;
  bool named = false;
  bool namedSpeaks = false;
  for (const auto& candidate : candidates) {
    const bool speaks = BestRank(engineLanguage, candidate.language) != kNotSpoken;
    if (speaks) ++speaking;
    if (!chosenName.empty() && SameName(candidate.name, chosenName)) {
      named = true;
      namedSpeaks = namedSpeaks || speaks;
    }
  }
  if (namedSpeaks) return "the user's choice";
  const std::string found = std::to_string(candidates.size()) + " found";
  std::string reason;
  if (!chosenName.empty()) {
    reason = "the user's choice \"" + EncodeUtf8(chosenName) +
             (named ? "\" does not speak the language; " : "\" is not installed; ");
  }
  if (speaking == 0) return reason + "no voice speaks the language (" + found + ")";
  return reason + "the best of " + std::to_string(speaking) + " that speak the language (" + found + ")";
}

}  // namespace ostrel::orvatone
