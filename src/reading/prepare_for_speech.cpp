#include "reading/prepare_for_speech.h"

#include <cstdint>
#include <span>
#include <vector>

#include "codeconv/xr_to_gb.h"
#include "encoding/language_code_pages.h"

namespace ostrel {
namespace {

constexpr uint32_t kJapaneseCodePage = LanguageCodePage(kJapanese);
constexpr uint32_t kChineseCodePage = LanguageCodePage(kChinese);
constexpr uint32_t kEnglishCodePage = LanguageCodePage(kEnglish);
constexpr uint32_t kKoreanCodePage = LanguageCodePage(kKorean);

// The Chinese code setting: how Chinese text arrives on the clipboard.
constexpr int32_t kBig5 = 1;
constexpr int32_t kXrSimplified = 2;
constexpr int32_t kXrTraditional = 3;

std::string XrToGb(const std::u16string& text, TextEncoder& encoder) {
  const size_t bound = 2 * text.size() + 200;
  const std::string xr = encoder.Encode(text, kJapaneseCodePage, bound);
  const std::span<const uint8_t> source(reinterpret_cast<const uint8_t*>(xr.data()), xr.size());
  std::vector<uint8_t> gb(bound);
  const uint32_t length = ConvertXrToGb(source, gb, static_cast<uint32_t>(bound));
  return std::string(gb.begin(), gb.begin() + length);
}

}  // namespace

std::string PrepareForSpeech(std::u16string text, const AppSettings& settings, TextEncoder& encoder) {
  const size_t limit = 2 * text.size() + 2;
  switch (settings.language) {
    case kJapanese:
      return encoder.Encode(text, kJapaneseCodePage, limit);
    case kChinese:
      switch (settings.languages[kChinese].codepage) {
        case kBig5:
          encoder.TraditionalToSimplified(text);
          return encoder.Encode(text, kChineseCodePage, limit);
        case kXrSimplified:
        case kXrTraditional:
          return XrToGb(text, encoder);
        default:
          // GB, and any value the settings page never writes.
          return encoder.Encode(text, kChineseCodePage, limit);
      }
    case kEnglish:
      return encoder.Encode(text, kEnglishCodePage, limit);
    case kKorean:
      return encoder.Encode(text, kKoreanCodePage, limit);
    default:
      return {};
  }
}

}  // namespace ostrel
