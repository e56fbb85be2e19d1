#include "sapi_speech_markup.h"

#include "prosody_mapping.h"

namespace ostrel::orvatone {

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// XML 1.0's Char: tab, line feed, carriage return, U+0020 to U+D7FF, U+E000 to U+FFFD, and the
// planes above through surrogate pairs.
bool XmlCannotCarry(char16_t unit) {
  return (unit < 0x20 && unit != u'\t' && unit != u'\n' && unit != u'\r') || unit == 0xFFFE || unit == 0xFFFF;
}

std::u16string Number(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::u16string SapiSpeechMarkup(std::u16string_view text, const Prosody& prosody) {
  std::u16string markup = u"<pitch absmiddle=\"" + Number(SapiPitch(prosody.pitch)) + u"\"><rate absspeed=\"" +
                          Number(SapiRate(prosody.speed)) + u"\">";
  markup.reserve(markup.size() + text.size() + 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      markup += unit;
      markup += text[++i];
      continue;
    }
    if (IsHighSurrogate(unit) || IsLowSurrogate(unit) || XmlCannotCarry(unit)) {
      markup += u' ';
      continue;
    }
    switch (unit) {
      case u'&': markup += u"&amp;"; break;
      case u'<': markup += u"&lt;"; break;
      case u'>': markup += u"&gt;"; break;
      default: markup += unit;
    }
  }
  markup += u"</rate></pitch>";
  return markup;
}

}  // namespace ostrel::orvatone
