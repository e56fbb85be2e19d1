#pragma once
#include <windows.h>

#include "engine/speech_engine.h"
#include "settings/app_settings.h"
#include "settings/registry_store.h"

namespace ostrel {

// The toolbar's settings command, between its stop and its button update: the values go
// into the pages, the dialog runs modally over `owner`, the toolbar, on which OK registers
// the hot keys anew, and after OK the values come back, Alpha becomes the toolbar's
// `currentAlpha` and the settings are saved to `store`. Returns IDOK or IDCANCEL
// (-1 when the dialog could not be shown).
INT_PTR RunSettingsDialog(HWND owner, AppSettings& settings, SpeechEngine& engine, int& currentAlpha,
                          RegistryStore& store);

}  // namespace ostrel
