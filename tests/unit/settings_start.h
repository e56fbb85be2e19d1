#pragma once
#include <string>

#include "settings/registry_store.h"
#include "settings/settings_model.h"

namespace ostrel::testing {

// The stand-in engine's report: volume max/min/def, then min/max/def of the others.
inline const EngineReport kStandInReport{500, 0, 100, 50, 250, 100, 50, 200, 100, 0, 65535, 800, 0, 65535, 300};

// The toolbar's start-up order: load, start each enabled language with its report, settle.
inline AppSettings StartSettings(RegistryStore& store, const std::u16string& programDirectory,
                                 const EngineReport& report = kStandInReport) {
  AppSettings s;
  LoadSettings(s, store, programDirectory);
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    if (s.languageEnabled[l]) ApplyEngineRanges(s, store, l, report);
  }
  ValidateLanguage(s);
  return s;
}

}  // namespace ostrel::testing
