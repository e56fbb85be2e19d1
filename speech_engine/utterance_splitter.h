// Cuts a text into the utterances a synthesiser renders one at a time, so that the first sound
// never waits for the whole text and the audio held in memory stays small.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "utterance.h"

namespace ostrel::orvatone {

// Longest utterance in UTF-16 units; a stretch without any mark is cut near this length.
inline constexpr std::size_t kMaxUtteranceLength = 200;

// Sentence ends (。．！？｡.!? and line breaks) and commas (、，､,) end an utterance and stay in
// it, a run of them (?!, ..., 。\n) ending one utterance, with the closing quotes and brackets
// that follow a mark directly. `.` and `,` between digits (3.14, 1,000) and `.` directly before a
// letter or digit (e.g., example.com) do not end anything. Utterances are trimmed; one with
// nothing to say (blanks, marks, brackets) is dropped, its pause added to the one before. An
// utterance longer than `maxLength` (at least 2) UTF-16 units is cut into pieces no longer,
// after the last blank that fits or else between code points, with no pause between them. The
// last utterance keeps the pause of its mark; the player decides what follows the end.
std::vector<Utterance> SplitUtterances(std::u16string_view text, std::size_t maxLength = kMaxUtteranceLength);

}  // namespace ostrel::orvatone
