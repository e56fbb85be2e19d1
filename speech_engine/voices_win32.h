// The voices installed for a language, and the one that speaks it.
#pragma once

#include <optional>

#include "engine_host.h"

namespace ostrel::orvatone {

// The user's choice ("Voice" under the language's key of the program's settings) where it names an
// installed voice, else the best: SAPI OneCore, SAPI classic, espeak-ng. With a waveOut output.
std::optional<LanguageVoice> OpenBestVoice(int engineLanguage);

}  // namespace ostrel::orvatone
