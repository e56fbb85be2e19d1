// Hanvert.dll: traditional-to-simplified conversion of UTF-16 text in place.

#include "simplified_of.h"

// Exported undecorated through Hanvert.def. Returns the number of characters replaced;
// a null text replaces nothing. Every replacement is one code unit for one, so the text
// keeps its length and its terminator.
extern "C" int __stdcall FanTiToJianTi(wchar_t* text) noexcept {
    if (text == nullptr) return 0;
    int replaced = 0;
    for (; *text != L'\0'; ++text) {
        const char16_t simplified = ostrel::hanvert::SimplifiedOf(static_cast<char16_t>(*text));
        if (simplified != static_cast<char16_t>(*text)) {
            *text = static_cast<wchar_t>(simplified);
            ++replaced;
        }
    }
    return replaced;
}
