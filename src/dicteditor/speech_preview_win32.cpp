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
    report_ = engine_.StartLanguage(engineLanguage);
    started_ = true;
  }
  lastWindow_ = window;
  // The values as the toolbar reads them: the same names, the engine's defaults and ranges.
  Win32Registry registry;
  RegistryStore store(registry);
  AppSettings settings;
  ApplyEngineRanges(settings, store, language_, report_);
  const VoiceParameters& voice = settings.languages[static_cast<size_t>(language_)].voice;
  const std::string bytes = ToCodePage(text, LanguageCodePage(language_));
  engine_.Speak(Id(window), engineLanguage, bytes.c_str(), voice.pitch, voice.speed, voice.volume, voice.pause,
                voice.commapause, 0);
}

}  // namespace ostrel::dicteditor
