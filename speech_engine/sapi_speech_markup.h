// What the engine hands a SAPI voice for one utterance: the text as SAPI XML inside the pitch and
// rate the user chose.
#pragma once

#include <string>
#include <string_view>

#include "synthesiser.h"

namespace ostrel::orvatone {

// The utterance as the content of <pitch absmiddle><rate absspeed>. Markup characters are escaped;
// what XML cannot carry at all (control characters, U+FFFE, U+FFFF, unpaired surrogates) becomes a
// space, so a stray character copied from a document neither breaks the markup nor cuts it short.
std::u16string SapiSpeechMarkup(std::u16string_view text, const Prosody& prosody);

}  // namespace ostrel::orvatone
