#include "settingsdlg/apply_hot_keys.h"

#include "app/texts.h"

namespace ostrel {
namespace {

uint16_t& Word(AppSettings& settings, int id) {
  switch (id) {
    case 1: return settings.HotKeySelRead;
    case 2: return settings.HotKeyAllRead;
    default: return settings.HotKeyStop;
  }
}

}  // namespace

void ApplyHotKeys(AppSettings& settings, const HotKeyWords& controlWords, HotKeyRegistrar& registrar) {
  constexpr int kIdCount = static_cast<int>(HotKeyWords{}.size());
  for (int id = 1; id <= kIdCount; ++id) {
    if (Word(settings, id) != 0) registrar.Unregister(id);
  }
  for (int id = 1; id <= kIdCount; ++id) Word(settings, id) = controlWords[id - 1];
  for (int id = 1; id <= kIdCount; ++id) {
    uint16_t& word = Word(settings, id);
    if (word == 0 || registrar.Register(id, word)) continue;
    registrar.ShowFailure(id, texts::kHotKeyFailed[id - 1]);
    word = 0;
  }
}

}  // namespace ostrel
