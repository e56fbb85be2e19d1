#include "settingsdlg/apply_hot_keys.h"

#include "settingsdlg/page_texts.h"

namespace ostrel {
namespace {

constexpr int kEndId = kFirstHotKeyId + kHotKeyCount;
static_assert(HotKeyWords{}.size() == kHotKeyCount);

uint16_t& Word(AppSettings& settings, int id) {
  switch (id) {
    case kFirstHotKeyId: return settings.HotKeySelRead;
    case kFirstHotKeyId + 1: return settings.HotKeyAllRead;
    default: return settings.HotKeyStop;
  }
}

}  // namespace

void RegisterHotKeys(AppSettings& settings, HotKeyRegistrar& registrar) {
  for (int id = kFirstHotKeyId; id < kEndId; ++id) {
    uint16_t& word = Word(settings, id);
    if (word == 0 || registrar.Register(id, word)) continue;
    registrar.ShowFailure(id, page_texts::kHotKeyFailed[id - kFirstHotKeyId]);
    word = 0;
  }
}

void UnregisterHotKeys(const AppSettings& settings, HotKeyRegistrar& registrar) {
  const HotKeyWords words = HotKeyWordsOf(settings);
  for (int id = kFirstHotKeyId; id < kEndId; ++id) {
    if (words[id - kFirstHotKeyId] != 0) registrar.Unregister(id);
  }
}

void ApplyHotKeys(AppSettings& settings, const HotKeyWords& controlWords, HotKeyRegistrar& registrar) {
  UnregisterHotKeys(settings, registrar);
  for (int id = kFirstHotKeyId; id < kEndId; ++id) Word(settings, id) = controlWords[id - kFirstHotKeyId];
  RegisterHotKeys(settings, registrar);
}

}  // namespace ostrel
