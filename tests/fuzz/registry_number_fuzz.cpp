// libFuzzer target for what the settings make of the registry. The input is a list of stored
// values, each: one byte naming the value (and, by its top bit, the user's or the machine's
// root), one byte for the type, one for the length (times three, so texts longer than the read
// buffer occur), then the data. The settings are loaded as at start-up and must hold only
// sound values; saved and loaded again, they must come back unchanged.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../unit/memory_registry.h"
#include "../unit/settings_start.h"
#include "settings/registry_store.h"
#include "settings/registry_value.h"
#include "settings/settings_model.h"

namespace {

using namespace ostrel;
using ostrel::testing::MemoryRegistry;

void Check(bool condition) {
  if (!condition) std::abort();
}

const std::u16string kSub = u"Software\\Brantic\\Ostrel4";
const std::u16string kProgramDir = u"C:\\Ostrel\\";
const EngineReport kReport{500, 0, 100, 50, 250, 100, 50, 200, 100, 0, 65535, 800, 0, 65535, 300};

struct Slot {
  const char16_t* language;  // empty: the settings key itself
  const char16_t* name;
};
constexpr std::array<const char16_t*, 14> kGeneral{u"UseLanguageSet", u"language",      u"x",
                                                   u"y",              u"Repeat",        u"Alpha_Min",
                                                   u"Alpha_Max",      u"Alpha",         u"HotKeySelRead",
                                                   u"HotKeyAllRead",  u"HotKeyStop",    u"KeepClipboard",
                                                   u"LanguageByScript", u"QuickCapture"};
constexpr std::array<const char16_t*, 4> kLanguages{u"Japanese", u"Chinese", u"English", u"Korean"};
constexpr std::array<const char16_t*, 6> kPerLanguage{u"speed", u"pitch", u"volume", u"pause", u"commapause",
                                                      u"UserDicPath"};
constexpr std::array<uint32_t, 8> kTypes{kRegNone, kRegSz, kRegExpandSz, kRegBinary,
                                         kRegDword, kRegDwordBigEndian, kRegMultiSz, kRegQword};

std::vector<Slot> Slots() {
  std::vector<Slot> slots;
  for (const char16_t* name : kGeneral) slots.push_back({u"", name});
  for (const char16_t* language : kLanguages) {
    for (const char16_t* name : kPerLanguage) slots.push_back({language, name});
  }
  slots.push_back({u"Chinese", u"codepage"});
  slots.push_back({u"Korean", u"ParenthesisCharNumber"});
  return slots;
}

AppSettings Start(RegistryStore& store) { return testing::StartSettings(store, kProgramDir, kReport); }

bool InRange(int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; }

void CheckSound(const AppSettings& s) {
  Check(s.languageEnabled[0] || s.languageEnabled[1] || s.languageEnabled[2] || s.languageEnabled[3]);
  Check(InRange(s.language, 0, 3) && s.languageEnabled[static_cast<size_t>(s.language)]);
  for (const int32_t flag : {s.Repeat, s.KeepClipboard, s.LanguageByScript, s.QuickCapture}) {
    Check(flag == 0 || flag == 1);
  }
  Check(InRange(s.Alpha, 0, 255) && InRange(s.Alpha_Min, 0, 255) && InRange(s.Alpha_Max, 0, 255));
  Check(s.Alpha_Min <= s.Alpha_Max);
  Check(InRange(s.x, -32768, 32767) && InRange(s.y, -32768, 32767));
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    if (!s.languageEnabled[l]) continue;
    const LanguageSettings& ls = s.languages[l];
    for (const int32_t v : {ls.voice.speed, ls.voice.pitch, ls.voice.volume, ls.voice.pause, ls.voice.commapause}) {
      Check(InRange(v, 0, 65535));
    }
    Check(ls.UserDicPath.size() <= 259);
    Check(ls.UserDicPath.find(u'\0') == std::u16string::npos);
  }
  if (s.languageEnabled[kChinese]) Check(InRange(s.languages[kChinese].codepage, 0, 3));
}

bool Same(const AppSettings& a, const AppSettings& b) {
  if (a.UseLanguageSet != b.UseLanguageSet || a.languageEnabled != b.languageEnabled || a.language != b.language ||
      a.Repeat != b.Repeat || a.Alpha != b.Alpha || a.Alpha_Min != b.Alpha_Min || a.Alpha_Max != b.Alpha_Max ||
      a.HotKeySelRead != b.HotKeySelRead || a.HotKeyAllRead != b.HotKeyAllRead || a.HotKeyStop != b.HotKeyStop ||
      a.KeepClipboard != b.KeepClipboard || a.LanguageByScript != b.LanguageByScript ||
      a.QuickCapture != b.QuickCapture || a.x != b.x || a.y != b.y) {
    return false;
  }
  for (size_t l = 0; l < kLanguageCount; ++l) {
    const LanguageSettings& p = a.languages[l];
    const LanguageSettings& q = b.languages[l];
    if (p.voice.speed != q.voice.speed || p.voice.pitch != q.voice.pitch || p.voice.volume != q.voice.volume ||
        p.voice.pause != q.voice.pause || p.voice.commapause != q.voice.commapause ||
        p.voice.ParenthesisCharNumber != q.voice.ParenthesisCharNumber || p.UserDicPath != q.UserDicPath ||
        p.codepage != q.codepage) {
      return false;
    }
  }
  return true;
}

// The decoders alone: a number only from four DWORD bytes, a text never longer than its data.
void CheckDecoders(uint32_t type, const std::vector<uint8_t>& data) {
  const auto number = NumberOfValue(type, data);
  Check(number.has_value() == ((type == kRegDword || type == kRegDwordBigEndian) && data.size() == 4));
  const auto text = TextOfValue(type, data);
  Check(text.has_value() == (type == kRegSz || type == kRegExpandSz));
  if (text) Check(text->size() <= data.size() / 2 && text->find(u'\0') == std::u16string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<Slot> slots = Slots();
  MemoryRegistry registry;
  size_t at = 0;
  while (size - at >= 3) {
    const uint8_t which = data[at];
    const uint8_t typeByte = data[at + 1];
    const size_t length = std::min<size_t>(size_t{data[at + 2]} * 3, size - at - 3);
    at += 3;
    const Slot& slot = slots[(which & 0x7F) % slots.size()];
    const RegistryRoot root = (which & 0x80) ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
    // Mostly the types there are names for; now and then any number.
    const uint32_t type = typeByte < 0xF0 ? kTypes[typeByte % kTypes.size()] : typeByte;
    std::vector<uint8_t> bytes(data + at, data + at + length);
    at += length;
    CheckDecoders(type, bytes);
    const std::u16string key = *slot.language ? kSub + u"\\" + slot.language : kSub;
    registry.Set(root, key, slot.name, type, std::move(bytes));
  }

  RegistryStore store(registry);
  AppSettings first = Start(store);
  CheckSound(first);

  registry.writes.clear();
  SaveSettings(first, store);
  SaveWindowPosition(first, store);
  for (const MemoryRegistry::Write& w : registry.writes) {
    Check(w.root == RegistryRoot::CurrentUser);
    Check(w.name != u"UseLanguageSet");
    for (size_t l = 0; l < kLanguageCount; ++l) {
      if (!first.languageEnabled[l]) Check(w.subKey != kSub + u"\\" + kLanguages[l]);
    }
  }
  Check(Same(Start(store), first));
  return 0;
}
