#include "settingsdlg/apply_hot_keys.h"

#include "app/texts.h"

namespace ostrel {
namespace {

constexpr int kIdCount = static_cast<int>(HotKeyWords{}.size());

uint16_t& Word(AppSettings& settings, int id) {
  switch (id) {
    case 1: return settings.HotKeySelRead;
    case 2: return settings.HotKeyAllRead;
    default: return settings.HotKeyStop;
  }
}

}  // namespace

void RegisterHotKeys(AppSettings& settings, HotKeyRegistrar& registrar) {
  for (int id = 1; id <= kIdCount; ++id) {
    uint16_t& word = Word(settings, id);
    if (word == 0 || registrar.Register(id, word)) continue;
    registrar.ShowFailure(id, texts::kHotKeyFailed[id - 1]);
    word = 0;
  }
}

void UnregisterHotKeys(const AppSettings& settings, HotKeyRegistrar& registrar) {
  const HotKeyWords words = HotKeyWordsOf(settings);
  for (int id = 1; id <= kIdCount; ++id) {
    if (words[id - 1] != 0) registrar.Unregister(id);
  }
}

void ApplyHotKeys(AppSettings& settings, const HotKeyWords& controlWords, HotKeyRegistrar& registrar) {
  UnregisterHotKeys(settings, registrar);
  for (int id = 1; id <= kIdCount; ++id) Word(settings, id) = controlWords[id - 1];
  RegisterHotKeys(settings, registrar);
}

}  // namespace ostrel
