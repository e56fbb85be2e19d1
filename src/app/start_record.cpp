#include "app/start_record.h"

#include <array>

namespace ostrel {
namespace {

constexpr std::array<const char*, kLanguageCount> kNames = {"Japanese", "Chinese", "English", "Korean"};

}  // namespace

std::string LanguagesRecord(const AppSettings& settings) {
  std::string record = "languages";
  const char* separator = " ";
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    if (!settings.languageEnabled[static_cast<size_t>(l)]) continue;
    record += separator;
    record += kNames[static_cast<size_t>(l)];
    separator = ", ";
  }
  if (*separator == ' ') record += " none";
  record += "; current ";
  if (settings.language >= 0 && settings.language < kLanguageCount) {
    record += kNames[static_cast<size_t>(settings.language)];
  } else {
    record += std::to_string(settings.language);
  }
  return record;
}

}  // namespace ostrel
