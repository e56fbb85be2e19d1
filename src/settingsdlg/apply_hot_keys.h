#pragma once
#include "settings/app_settings.h"
#include "settingsdlg/hot_key_registrar.h"
#include "settingsdlg/hot_key_words.h"

namespace ostrel {

// The settings dialog's OK: releases the hot keys of `settings`, takes the controls' words
// into it and registers them anew. A non-zero word always means a registered hot key
// afterwards: an empty control stays 0 and is not registered, and a registration that fails
// is reported and its word becomes 0; the others go on.
void ApplyHotKeys(AppSettings& settings, const HotKeyWords& controlWords, HotKeyRegistrar& registrar);

}  // namespace ostrel
