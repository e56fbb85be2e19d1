// What the engine reads aloud at a time: one utterance, and the pause that follows it.
#pragma once

#include <string>

namespace ostrel::orvatone {

// Which of the speaker's pauses comes after an utterance.
enum class PauseAfter {
  kNone,      // the text ran on (a long stretch cut without a mark, or the text's end)
  kComma,     // 、，,  : `commapause` ms of silence
  kSentence,  // 。．！？.!? or a line break : `pause` ms of silence
};

struct Utterance {
  std::u16string text;
  PauseAfter pauseAfter = PauseAfter::kNone;

  bool operator==(const Utterance&) const = default;
};

}  // namespace ostrel::orvatone
