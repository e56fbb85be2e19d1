// The voices the test voice registers itself as, and the values under a voice's token that make
// it behave like a slow or a failing voice. Shared by the voice and by the tests that look for it.
#pragma once

#include <windows.h>

#include <array>

namespace testvoice {

// {E2005B38-953F-4D1F-AC07-DF16B2D0B5E9}
inline constexpr CLSID kTestVoiceClsid = {0xE2005B38, 0x953F, 0x4D1F, {0xAC, 0x07, 0xDF, 0x16, 0xB2, 0xD0, 0xB5, 0xE9}};
inline constexpr const wchar_t* kTestVoiceClsidText = L"{E2005B38-953F-4D1F-AC07-DF16B2D0B5E9}";

inline constexpr const wchar_t* kOneCoreTokens = L"SOFTWARE\\Microsoft\\Speech_OneCore\\Voices\\Tokens";
inline constexpr const wchar_t* kClassicTokens = L"SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens";

struct TestToken {
  bool oneCore;
  const wchar_t* key;       // the token's key name under ...\Voices\Tokens
  const wchar_t* name;      // Attributes\Name, also the token's default value
  const wchar_t* language;  // Attributes\Language: LANGIDs in hexadecimal
  const wchar_t* gender;
};

inline constexpr std::array<TestToken, 5> kTestTokens = {{
    {true, L"OstrelTestVoice_jaJP_OneCore", L"Ostrel Test Japanese OneCore", L"411", L"Female"},
    {false, L"OstrelTestVoice_jaJP", L"Ostrel Test Japanese", L"411", L"Male"},
    {false, L"OstrelTestVoice_zhCN", L"Ostrel Test Chinese", L"804", L"Female"},
    {false, L"OstrelTestVoice_enUS", L"Ostrel Test English", L"409;9", L"Female"},
    {false, L"OstrelTestVoice_koKR", L"Ostrel Test Korean", L"412", L"Female"},
}};

inline constexpr const wchar_t* kVendor = L"Brantic test";

// DWORD values under a token's key. Missing values mean a well-behaved voice.
inline constexpr const wchar_t* kRealTimePercent = L"TestRealTimePercent";  // render takes this % of the sound's length
inline constexpr const wchar_t* kFailCreate = L"TestFailCreate";            // non-zero: creation through the token fails
// N: a voice object renders N fragments (over all its Speak calls), then fails at the next ...
inline constexpr const wchar_t* kFailAfter = L"TestFailAfter";
// ... or stops making progress there.
inline constexpr const wchar_t* kHangAfter = L"TestHangAfter";
inline constexpr const wchar_t* kHangMs = L"TestHangMs";                    // ... for this long (default 60 s)
inline constexpr const wchar_t* kHangIgnoresAbort = L"TestHangIgnoresAbort";  // non-zero: not even an abort ends it

inline constexpr HRESULT kFailCreateResult = static_cast<HRESULT>(0x80047E01);
inline constexpr HRESULT kFailAfterResult = static_cast<HRESULT>(0x80047E02);

}  // namespace testvoice
