#pragma once
#include <string>

#include "reading/reading_host.h"
#include "settings/app_settings.h"

namespace ostrel {

// Turns clipboard text into the bytes the engine reads for the current language: code page
// 932 Japanese, 936 Chinese (after the traditional-to-simplified or XR conversion the Chinese
// code setting asks for), 1252 English, 949 Korean. The result carries no terminator;
// c_str() gives the zero-terminated text. Empty for a language outside 0..3.
std::string PrepareForSpeech(std::u16string text, const AppSettings& settings, TextEncoder& encoder);

}  // namespace ostrel
