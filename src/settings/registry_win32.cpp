#include "settings/registry_win32.h"

#include <algorithm>

#include "platform/log_win32.h"
#include "platform/unique_handle_win32.h"
#include "platform/wide_win32.h"

namespace ostrel {
namespace {

HKEY RootHandle(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::None: break;
  }
  return nullptr;
}

UniqueHkey CreateKey(RegistryRoot root, const std::u16string& subKey) {
  UniqueHkey key;
  const HKEY rootKey = RootHandle(root);
  if (!rootKey) return key;
  wchar_t noClass[] = L"";
  if (const LSTATUS created = RegCreateKeyExW(rootKey, Wide(subKey), 0, noClass, REG_OPTION_NON_VOLATILE,
                                              KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
      created != ERROR_SUCCESS) {
    log::Failed("creating registry key " + log::Utf8(WideView(subKey)), static_cast<DWORD>(created));
    key.release();
  }
  return key;
}

bool Write(RegistryRoot root, const std::u16string& subKey, const std::u16string& name, DWORD type,
           const void* data, DWORD bytes) {
  const UniqueHkey key = CreateKey(root, subKey);
  if (!key) return false;
  const LSTATUS set = RegSetValueExW(key.get(), Wide(name), 0, type, static_cast<const BYTE*>(data), bytes);
  if (set != ERROR_SUCCESS) log::Failed("writing registry value " + log::Utf8(WideView(name)), static_cast<DWORD>(set));
  return set == ERROR_SUCCESS;
}

}  // namespace

std::optional<RegistryValue> Win32Registry::Query(RegistryRoot root, const std::u16string& subKey,
                                                  const std::u16string& name, size_t maxBytes) {
  const HKEY rootKey = RootHandle(root);
  if (!rootKey) return std::nullopt;
  UniqueHkey key;
  if (RegOpenKeyExW(rootKey, Wide(subKey), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    key.release();
    return std::nullopt;
  }
  RegistryValue value;
  value.data.resize(maxBytes);
  DWORD type = REG_NONE;
  DWORD size = static_cast<DWORD>(maxBytes);
  if (RegQueryValueExW(key.get(), Wide(name), nullptr, &type, value.data.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;  // missing, or larger than the buffer (ERROR_MORE_DATA)
  }
  value.type = type;
  value.data.resize(std::min<size_t>(size, maxBytes));
  return value;
}

bool Win32Registry::WriteDword(RegistryRoot root, const std::u16string& subKey, const std::u16string& name,
                               uint32_t value) {
  const DWORD data = value;
  return Write(root, subKey, name, REG_DWORD, &data, sizeof data);
}

bool Win32Registry::WriteString(RegistryRoot root, const std::u16string& subKey, const std::u16string& name,
                                const std::u16string& text) {
  const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(char16_t));
  return Write(root, subKey, name, REG_SZ, text.c_str(), bytes);
}

}  // namespace ostrel
