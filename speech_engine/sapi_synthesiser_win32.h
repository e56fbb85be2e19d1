// SAPI 5 voices: the classic ones and the OneCore ones that Windows 10 and 11 install with each
// language's speech pack. They render into memory, so the one player pauses, resumes and stops
// every voice alike.
#pragma once

#include <string>
#include <vector>

#include "synthesiser.h"

namespace ostrel::orvatone {

struct SapiVoiceToken {
  std::wstring tokenId;   // the token's registry path
  std::wstring name;      // its Name attribute
  std::wstring language;  // its Language attribute ("411", "409;9")
  bool oneCore = false;
};

// Every installed voice, OneCore first. Where SAPI lists voices it cannot speak (Wine's), the first
// utterance fails and the language's next voice takes over.
std::vector<SapiVoiceToken> FindSapiVoices();

// On the player's thread before its apartment ends: the voice object it kept for its utterances.
void ReleaseSapiThreadVoice() noexcept;

// How long a voice is trusted.
struct SapiTiming {
  int noProgressMs = 5000;  // from Speak or its last write: a voice silent longer has failed
  int purgeMs = 1000;       // for a purged voice to stop before its object is given up
};

class SapiSynthesiser final : public Synthesiser {
 public:
  explicit SapiSynthesiser(std::wstring tokenId, SapiTiming timing = {})
      : tokenId_(std::move(tokenId)), timing_(timing) {}

  // On the player's thread, in the apartment its host set up there; the voice object is kept for
  // the thread's next utterances.
  bool Render(std::u16string_view text, const Prosody& prosody, const std::function<bool()>& cancelled,
              Rendering& out) noexcept override;
  // The sound goes on as the voice writes it, looked at every poll while the voice speaks.
  bool RenderInParts(std::u16string_view text, const Prosody& prosody, const std::function<bool()>& cancelled,
                     const PcmPart& part, Rendering& out) noexcept override;

 private:
  std::wstring tokenId_;
  SapiTiming timing_;
};

}  // namespace ostrel::orvatone
