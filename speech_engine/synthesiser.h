// A voice that renders one utterance at a time, whole or in parts as it goes. Playing is the
// player's job, so pause, resume and stop behave the same whichever voice speaks.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "pcm.h"

namespace ostrel::orvatone {

// Percent of the voice's normal rate and pitch.
struct Prosody {
  int speed = 100;
  int pitch = 100;
};

struct Rendering {
  std::u16string spokenText;  // what the voice was given (MeCab's katakana for Japanese through espeak-ng)
  Pcm pcm;
};

// One piece of an utterance's sound, on the rendering thread, in order; every piece of an utterance
// has the same rate.
using PcmPart = std::function<void(Pcm part)>;

class Synthesiser {
 public:
  virtual ~Synthesiser() = default;

  // false: this utterance failed, or `cancelled` turned true while it rendered (it is polled, so
  // a stop never waits for a long rendering). Never throws.
  virtual bool Render(std::u16string_view text, const Prosody& prosody, const std::function<bool()>& cancelled,
                      Rendering& out) noexcept = 0;

  // The same, with the sound handed to `part` as the voice makes it, so that it can be heard before
  // the utterance is complete; `out.pcm` stays empty. After a failure the pieces given so far were
  // all there is. A voice that renders only whole utterances hands over one piece.
  virtual bool RenderInParts(std::u16string_view text, const Prosody& prosody,
                             const std::function<bool()>& cancelled, const PcmPart& part, Rendering& out) noexcept {
    if (!Render(text, prosody, cancelled, out)) return false;
    Pcm whole = std::move(out.pcm);
    out.pcm = {};
    try {
      if (!whole.samples.empty()) part(std::move(whole));
    } catch (...) {
      return false;
    }
    return true;
  }
};

}  // namespace ostrel::orvatone
