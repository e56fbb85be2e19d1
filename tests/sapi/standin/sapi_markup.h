// The text markup a voice object takes in Speak, read into the fragments a voice renders: each
// run of text with the state (rate, pitch, volume, ...) in force for it. A small XML reader of
// its own, so that an attribute is found by its name (`middle` is not `absmiddle`), entities and
// CDATA sections are decoded, and markup that is not well formed is refused rather than guessed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sapistandin {

// The values of SPVACTIONS.
enum class MarkupAction : int { kSpeak = 0, kSilence = 1, kPronounce = 2, kBookmark = 3, kSpellOut = 4,
                                kSection = 5, kParseUnknownTag = 6 };

struct MarkupState {
  MarkupAction action = MarkupAction::kSpeak;
  std::uint16_t langId = 0;
  long emphAdj = 0;
  long rateAdj = 0;
  unsigned long volume = 100;
  long middleAdj = 0;
  long rangeAdj = 0;
  unsigned long silenceMs = 0;

  bool operator==(const MarkupState&) const = default;
};

struct MarkupFragment {
  MarkupState state;
  std::u16string text;          // decoded; a bookmark's name, an unknown tag as written
  std::size_t sourceOffset = 0;  // where it starts in the markup, in UTF-16 units

  bool operator==(const MarkupFragment&) const = default;
};

struct MarkupResult {
  std::vector<MarkupFragment> fragments;
  std::string error;  // empty when the markup was read; else what was wrong, and where
};

// `initial` is the state outside any element (the voice's language, full volume).
MarkupResult ReadMarkup(std::u16string_view markup, const MarkupState& initial = {});

// Text that is not markup: one fragment, as it stands.
MarkupResult ReadPlainText(std::u16string_view text, const MarkupState& initial = {});

// Whether Speak without either XML flag treats the text as markup: it starts with '<' after
// any white space.
bool LooksLikeMarkup(std::u16string_view text);

}  // namespace sapistandin
