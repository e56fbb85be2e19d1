#pragma once
#include <map>
#include <tuple>
#include <utility>

#include "settings/registry_backend.h"

namespace ostrel::testing {

// The registry as a map, with a journal of writes so tests can check order and roots.
class MemoryRegistry final : public RegistryBackend {
 public:
  struct Write {
    RegistryRoot root;
    std::u16string subKey;
    std::u16string name;
    bool operator==(const Write&) const = default;
  };

  std::optional<RegistryValue> Query(RegistryRoot root, const std::u16string& subKey, const std::u16string& name,
                                     size_t maxBytes) override {
    ++queries;
    const auto it = values.find({root, subKey, name});
    if (it == values.end() || it->second.data.size() > maxBytes) return std::nullopt;
    return it->second;
  }
  bool WriteDword(RegistryRoot root, const std::u16string& subKey, const std::u16string& name,
                  uint32_t value) override {
    if (failWrites) return false;
    writes.push_back({root, subKey, name});
    SetDword(root, subKey, name, value);
    return true;
  }
  bool WriteString(RegistryRoot root, const std::u16string& subKey, const std::u16string& name,
                   const std::u16string& text) override {
    if (failWrites) return false;
    writes.push_back({root, subKey, name});
    SetString(root, subKey, name, text);
    return true;
  }

  void SetDword(RegistryRoot root, const std::u16string& subKey, const std::u16string& name, uint32_t value) {
    Set(root, subKey, name, kRegDword,
        {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)});
  }
  void SetString(RegistryRoot root, const std::u16string& subKey, const std::u16string& name,
                 const std::u16string& text, bool terminated = true) {
    Set(root, subKey, name, kRegSz, StringData(text, terminated));
  }
  // Any type and data, as another program could store them.
  void Set(RegistryRoot root, const std::u16string& subKey, const std::u16string& name, uint32_t type,
           std::vector<uint8_t> data) {
    values[{root, subKey, name}] = RegistryValue{type, std::move(data)};
  }
  bool Has(RegistryRoot root, const std::u16string& subKey, const std::u16string& name) const {
    return values.count({root, subKey, name}) != 0;
  }
  std::optional<uint32_t> Dword(RegistryRoot root, const std::u16string& subKey, const std::u16string& name) const {
    const auto it = values.find({root, subKey, name});
    if (it == values.end() || it->second.type != kRegDword || it->second.data.size() != 4) return std::nullopt;
    const auto& d = it->second.data;
    return uint32_t(d[0]) | uint32_t(d[1]) << 8 | uint32_t(d[2]) << 16 | uint32_t(d[3]) << 24;
  }

  static std::vector<uint8_t> StringData(const std::u16string& text, bool terminated) {
    std::vector<uint8_t> data;
    for (char16_t c : text) {
      data.push_back(uint8_t(c));
      data.push_back(uint8_t(c >> 8));
    }
    if (terminated) data.insert(data.end(), {0, 0});
    return data;
  }

  std::map<std::tuple<RegistryRoot, std::u16string, std::u16string>, RegistryValue> values;
  std::vector<Write> writes;
  int queries = 0;
  bool failWrites = false;
};

}  // namespace ostrel::testing
