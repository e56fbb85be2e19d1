#include "failover_synthesiser.h"

#include <utility>

#include "log_seam.h"

namespace ostrel::orvatone {

FailoverSynthesiser::FailoverSynthesiser(std::vector<VoiceOption> voices, Replaced replaced)
    : voices_(std::move(voices)), replaced_(std::move(replaced)) {}

const VoiceOption* FailoverSynthesiser::Current() const noexcept {
  return current_ < voices_.size() ? &voices_[current_] : nullptr;
}

bool FailoverSynthesiser::Render(std::u16string_view text, const Prosody& prosody,
                                 const std::function<bool()>& cancelled, Rendering& out) noexcept {
  return RenderWith(text, prosody, cancelled, nullptr, out);
}

bool FailoverSynthesiser::RenderInParts(std::u16string_view text, const Prosody& prosody,
                                        const std::function<bool()>& cancelled, const PcmPart& part,
                                        Rendering& out) noexcept {
  return RenderWith(text, prosody, cancelled, &part, out);
}

bool FailoverSynthesiser::RenderWith(std::u16string_view text, const Prosody& prosody,
                                     const std::function<bool()>& cancelled, const PcmPart* part,
                                     Rendering& out) noexcept {
  const std::size_t first = current_;
  bool rendered = false;
  while (current_ < voices_.size()) {
    VoiceOption& voice = voices_[current_];
    out = {};
    if (voice.synthesiser && (part != nullptr ? voice.synthesiser->RenderInParts(text, prosody, cancelled, *part, out)
                                              : voice.synthesiser->Render(text, prosody, cancelled, out))) {
      rendered = true;
      break;
    }
    // A stop cuts a rendering short; that says nothing about the voice.
    if (cancelled()) return false;
    ++current_;
    try {
      Log(LogLevel::kError, "the voice \"" + voice.voiceName + "\" (" + voice.synthesiserName +
                                ") failed and is replaced by " +
                                (current_ < voices_.size() ? "\"" + voices_[current_].voiceName + "\""
                                                           : std::string("nothing: no voice is left")));
    } catch (...) {
      // Only the record is lost.
    }
  }
  if (current_ != first && replaced_) {
    try {
      replaced_(voices_[first], Current());
    } catch (...) {
      LogCaught("reporting a replaced voice");
    }
  }
  if (!rendered) {
    out = {};
    out.spokenText = std::u16string(text);
  }
  return rendered;
}

}  // namespace ostrel::orvatone
