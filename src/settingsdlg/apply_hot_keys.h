#pragma once
#include "settings/app_settings.h"
#include "settingsdlg/hot_key_registrar.h"
#include "settingsdlg/hot_key_words.h"

namespace ostrel {

// Registers the non-zero words of `settings` as ids 1 to 3. A registration that fails is
// reported and its word becomes 0, and the others go on, so a non-zero word always means a
// registered hot key; a word of 0 is not registered (there is nothing to press).
void RegisterHotKeys(AppSettings& settings, HotKeyRegistrar& registrar);
// Releases the ids whose words are non-zero.
void UnregisterHotKeys(const AppSettings& settings, HotKeyRegistrar& registrar);

// The settings dialog's OK: releases the hot keys of `settings`, takes the controls' words
// into it and registers them anew. A non-zero word always means a registered hot key
// afterwards: an empty control stays 0 and is not registered, and a registration that fails
// is reported and its word becomes 0; the others go on.
void ApplyHotKeys(AppSettings& settings, const HotKeyWords& controlWords, HotKeyRegistrar& registrar);

}  // namespace ostrel
