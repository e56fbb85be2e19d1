#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/registry_value.h"

namespace ostrel {

enum class RegistryRoot { None, LocalMachine, CurrentUser, ClassesRoot };

// The few registry primitives the store needs: each call opens its key, acts and
// closes it again, so nothing stays open between calls.
class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;

  // The value's type and raw data, or nothing when the key or value is missing or the data
  // is larger than maxBytes.
  virtual std::optional<RegistryValue> Query(RegistryRoot root, const std::u16string& subKey,
                                             const std::u16string& name, size_t maxBytes) = 0;
  // Creates the key when needed. False when the key cannot be created or the write fails.
  virtual bool WriteDword(RegistryRoot root, const std::u16string& subKey, const std::u16string& name,
                          uint32_t value) = 0;
  // Writes REG_SZ data: the characters and one terminating null.
  virtual bool WriteString(RegistryRoot root, const std::u16string& subKey, const std::u16string& name,
                           const std::u16string& text) = 0;
};

}  // namespace ostrel
