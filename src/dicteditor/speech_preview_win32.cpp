#include "dicteditor/speech_preview_win32.h"

#include "dicteditor/editor_setup.h"
#include "platform/wide_win32.h"
#include "settings/registry_store.h"
#include "settings/registry_win32.h"
#include "settings/settings_model.h"

namespace ostrel::dicteditor {
namespace {

template <typename Fn>
Fn Ordinal(HMODULE module, WORD ordinal) {
  if (!module) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}

}  // namespace

SpeechPreview::SpeechPreview(const std::u16string& engineFolder, LanguageIndex language)
    : module_(LoadLibraryExW(Wide(engineFolder + u"Orvatone.dll"), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)),
      language_(language) {
  startLanguage_ = Ordinal<StartLanguageFn>(module_.get(), 3);
  speak_ = Ordinal<SpeakFn>(module_.get(), 4);
  stop_ = Ordinal<WindowLanguageFn>(module_.get(), 5);
  closeLanguage_ = Ordinal<WindowLanguageFn>(module_.get(), 10);
}

SpeechPreview::~SpeechPreview() {
  if (!started_) return;
  if (stop_) stop_(lastWindow_, EngineLanguage(language_));
  if (closeLanguage_) closeLanguage_(lastWindow_, EngineLanguage(language_));
}

void SpeechPreview::Speak(HWND window, const std::u16string& text) {
  if (!speak_) return;
  const int engineLanguage = EngineLanguage(language_);
  if (!started_ && startLanguage_) {
    int r[15] = {};
    startLanguage_(engineLanguage, &r[0], &r[1], &r[2], &r[3], &r[4], &r[5], &r[6], &r[7], &r[8], &r[9], &r[10],
                   &r[11], &r[12], &r[13], &r[14]);
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
  const std::string bytes = ToCodePage(text, DictionaryCodePage(language_));
  speak_(window, engineLanguage, bytes.c_str(), pitch, speed, volume, pause, commapause, 0);
}

}  // namespace ostrel::dicteditor
