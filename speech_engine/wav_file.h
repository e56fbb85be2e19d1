// The WAV files a synthesiser process leaves behind.
#pragma once

#include <optional>
#include <string_view>

#include "pcm.h"

namespace ostrel::orvatone {

// 16-bit PCM, mono or several channels (mixed down to mono), any rate. A data chunk that claims
// more than the file holds is read as far as it goes (a writer that never went back to fix the
// size). Anything else: nothing.
std::optional<Pcm> ParseWav(std::string_view bytes);

}  // namespace ostrel::orvatone
