#include "dicteditor/speech_preview_win32.h"

#include "encoding/code_page_win32.h"
#include "encoding/language_code_pages.h"
#include "platform/wide_win32.h"
#include "settings/registry_store.h"
#include "settings/registry_win32.h"
#include "settings/settings_model.h"

namespace ostrel::dicteditor {
namespace {

WindowId Id(HWND window) { return reinterpret_cast<WindowId>(window); }

}  // namespace

SpeechPreview::SpeechPreview(const std::u16string& engineFolder, LanguageIndex language)
    : engine_(std::wstring(Wide(engineFolder + u"Orvatone.dll"))), language_(language) {}

SpeechPreview::~SpeechPreview() {
  if (!started_) return;
  engine_.Stop(Id(lastWindow_), EngineLanguage(language_));
  engine_.CloseLanguage(Id(lastWindow_), EngineLanguage(language_));
}

void SpeechPreview::Speak(HWND window, const std::u16string& text) {
  if (!engine_.Loaded()) return;
  const int engineLanguage = EngineLanguage(language_);
  if (!started_) {
    engine_.StartLanguage(engineLanguage);
    started_ = true;
  }
  lastWindow_ = window;
  Win32Registry registry;
  RegistryStore store(registry);
  const std::u16string key = LanguageKey(language_);
  const int pitch = store.AppRegGetInt(key, u"pitch", 100);
  const int speed = store.AppRegGetInt(key, u"speed", 100);
  const int volume = store.AppRegGetInt(key, u"volume", 100);
  const int pause = store.AppRegGetInt(key, u"pause", 800);
  const int commapause = store.AppRegGetInt(key, u"commapause", 300);
  const std::string bytes = ToCodePage(text, LanguageCodePage(language_));
  engine_.Speak(Id(window), engineLanguage, bytes.c_str(), pitch, speed, volume, pause, commapause, 0);
}

}  // namespace ostrel::dicteditor
