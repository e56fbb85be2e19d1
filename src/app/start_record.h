#pragma once
#include <string>

#include "settings/app_settings.h"

namespace ostrel {

// The languages the toolbar reads and the one it starts with, for the start-up record:
// "languages Japanese, English; current English". Names, not numbers: the record is read by people.
std::string LanguagesRecord(const AppSettings& settings);

}  // namespace ostrel
