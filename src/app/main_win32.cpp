#include <windows.h>

#include "app/program_directory.h"
#include "app/program_directory_win32.h"
#include "engine/orvatone_library_win32.h"
#include "platform/wide_win32.h"
#include "settings/registry_win32.h"
#include "settings/settings_model.h"

using namespace ostrel;

// Start-up of the settings and the speech engine, then an orderly shutdown.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  FillProgramDirectory();
  Win32Registry registry;
  RegistryStore store(registry);
  AppSettings settings;
  LoadSettings(settings, store, ProgramDirectory());

  OrvatoneLibrary engine;
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    if (!settings.languageEnabled[l]) continue;
    const std::string dictionary = ToCodePage(settings.languages[l].UserDicPath, 932);
    engine.SetUserDictionary(0, EngineLanguage(l), dictionary.c_str());
    ApplyEngineRanges(settings, store, l, engine.StartLanguage(EngineLanguage(l)));
  }
  ValidateLanguage(settings);
  SaveSettings(settings, store);
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    if (settings.languageEnabled[l]) engine.CloseLanguage(0, EngineLanguage(l));
  }
  return 0;
}
