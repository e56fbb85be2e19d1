// A voice that renders one utterance at a time into memory. Playing is the player's job, so
// pause, resume and stop behave the same whichever voice speaks.
#pragma once

#include <functional>
#include <string>
#include <string_view>

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

class Synthesiser {
 public:
  virtual ~Synthesiser() = default;

  // false: this utterance failed, or `cancelled` turned true while it rendered (it is polled, so
  // a stop never waits for a long rendering). Never throws.
  virtual bool Render(std::u16string_view text, const Prosody& prosody, const std::function<bool()>& cancelled,
                      Rendering& out) noexcept = 0;
};

}  // namespace ostrel::orvatone
