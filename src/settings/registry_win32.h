#pragma once
#include "settings/registry_backend.h"

namespace ostrel {

// The real registry behind the store.
class Win32Registry final : public RegistryBackend {
 public:
  std::optional<RegistryValue> Query(RegistryRoot root, const std::u16string& subKey, const std::u16string& name,
                                     size_t maxBytes) override;
  bool WriteDword(RegistryRoot root, const std::u16string& subKey, const std::u16string& name,
                  uint32_t value) override;
  bool WriteString(RegistryRoot root, const std::u16string& subKey, const std::u16string& name,
                   const std::u16string& text) override;
};

}  // namespace ostrel
