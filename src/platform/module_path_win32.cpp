#include "platform/module_path_win32.h"

#include "platform/wide_win32.h"

namespace ostrel {

std::u16string ModulePath(HMODULE module) {
  // A path that fills the buffer may have been cut: grow until it fits, up to the longest
  // path the system knows.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return FromWide(path.data(), length);
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

std::u16string ModuleDirectory(HMODULE module) {
  const std::u16string path = ModulePath(module);
  return path.substr(0, path.find_last_of(u"\\/") + 1);
}

}  // namespace ostrel
