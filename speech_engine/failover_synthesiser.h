// A language's voices in the order they are worth trying. The first one reads; a voice that fails
// (it cannot be created, a rendering fails, it stops writing) is dropped for the rest of the session
// and the next one reads the same utterance again, so a broken voice never leaves the user in
// silence.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "synthesiser.h"

namespace ostrel::orvatone {

struct VoiceOption {
  std::string synthesiserName;  // as the journal's Voice line names it
  std::string voiceName;        // UTF-8
  std::unique_ptr<Synthesiser> synthesiser;
};

class FailoverSynthesiser final : public Synthesiser {
 public:
  // Called on the rendering thread once for each utterance that needed a replacement: the voice that
  // failed first, and the one that reads from now on (nullptr: none is left).
  using Replaced = std::function<void(const VoiceOption& failed, const VoiceOption* reading)>;

  FailoverSynthesiser(std::vector<VoiceOption> voices, Replaced replaced);

  // Tries the current voice, then each later one, for this utterance. false: cancelled, or every
  // voice has failed.
  bool Render(std::u16string_view text, const Prosody& prosody, const std::function<bool()>& cancelled,
              Rendering& out) noexcept override;
  // A voice that fails midway has had its pieces played; the next one reads the utterance again
  // from its start.
  bool RenderInParts(std::u16string_view text, const Prosody& prosody, const std::function<bool()>& cancelled,
                     const PcmPart& part, Rendering& out) noexcept override;

  // The voice that reads now, nullptr when every one has failed. Only on the rendering thread, or
  // before it starts.
  const VoiceOption* Current() const noexcept;

 private:
  // `part` null: whole renderings.
  bool RenderWith(std::u16string_view text, const Prosody& prosody, const std::function<bool()>& cancelled,
                  const PcmPart* part, Rendering& out) noexcept;

  std::vector<VoiceOption> voices_;
  std::size_t current_ = 0;
  Replaced replaced_;
};

}  // namespace ostrel::orvatone
