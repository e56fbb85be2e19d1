// Which voice speaks a language: the user's choice where it names an installed voice, else the
// best one found (SAPI OneCore, then SAPI classic, then espeak-ng).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::orvatone {

enum class SynthesiserKind { kSapiOneCore, kSapiClassic, kEspeakNg };

struct VoiceCandidate {
  SynthesiserKind kind = SynthesiserKind::kEspeakNg;
  std::u16string name;      // as the journal and the user's choice name it
  std::u16string language;  // SAPI's Language attribute: hexadecimal LANGIDs separated by ';' ("409;9")

  bool operator==(const VoiceCandidate&) const = default;
};

// engineLanguage: 1 Japanese (411), 2 Chinese (804, else 404 or C04), 3 English (409, else any
// English), 4 Korean (412). SAPI voices come before espeak-ng, then the preferred variant of the
// language, then OneCore before classic, then the order of `candidates`. `chosenName` (case-insensitive on
// ASCII letters, may be empty) wins when a candidate of that name speaks the language in any variant.
// nullopt: no candidate speaks it, or engineLanguage is outside 1..4.
std::optional<VoiceCandidate> ChooseVoice(int engineLanguage, const std::vector<VoiceCandidate>& candidates,
                                          std::u16string_view chosenName);

// Every candidate that speaks the language, as indices into `candidates`, in the order ChooseVoice
// ranks them: the one it chooses first, then those worth trying when the one before fails.
std::vector<std::size_t> RankVoices(int engineLanguage, const std::vector<VoiceCandidate>& candidates,
                                    std::u16string_view chosenName);

// Why ChooseVoice chooses as it does, in words for the log (UTF-8): the user's choice, a choice
// that is not installed or does not speak the language, the best of those that speak it, or none.
std::string VoiceChoiceReason(int engineLanguage, const std::vector<VoiceCandidate>& candidates,
                              std::u16string_view chosenName);

}  // namespace ostrel::orvatone
