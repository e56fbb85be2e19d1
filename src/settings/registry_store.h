#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/registry_backend.h"

namespace ostrel {

struct KeyPath {
  RegistryRoot root = RegistryRoot::None;
  std::u16string subKey;
};

// "[HKEY_CURRENT_USER\Software\...]" -> root and sub-key. Brackets are dropped only
// as a pair; the last root name found in the path wins.
KeyPath SplitKeyPath(std::u16string_view path);

// Reads fall back from HKEY_CURRENT_USER to the same path under HKEY_LOCAL_MACHINE,
// then to the caller's default; writes never fall back.
class RegistryStore {
 public:
  // Room for a text of 259 characters and its terminator.
  static constexpr size_t kReadBufferBytes = 520;

  explicit RegistryStore(RegistryBackend& backend) : backend_(backend) {}

  // A number the caller cannot use counts as unreadable, like a value of the wrong type.
  using NumberAccepted = bool (*)(int32_t value);

  std::u16string AppRegGetStr(std::u16string_view path, std::u16string_view name,
                              std::u16string_view defaultText);
  int32_t AppRegGetInt(std::u16string_view path, std::u16string_view name, int32_t defaultValue,
                       NumberAccepted accepted = nullptr);
  // The one name a text is written under.
  static constexpr std::u16string_view kTextValueName = u"UserDicPath";

  // Writes the value kTextValueName; 1 when written, else 0.
  int AppRegSetStr(std::u16string_view path, std::u16string_view text);
  int AppRegSetInt(std::u16string_view path, std::u16string_view name, int32_t value);

 private:
  template <class Decode>
  auto ReadWithFallback(std::u16string_view path, std::u16string_view name, const Decode& decode)
      -> decltype(decode(RegistryValue{}));

  RegistryBackend& backend_;
};

}  // namespace ostrel
