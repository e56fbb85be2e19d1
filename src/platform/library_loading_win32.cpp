#include "platform/library_loading_win32.h"

namespace ostrel {

void RestrictLibrarySearch() {
  // Present from Windows 8 (and Windows 7 with its update KB2533623): looked up, not imported.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  SetDllDirectoryW(L"");  // takes the current folder out of the older search order too
}

HMODULE LoadProgramLibrary(const std::wstring& fullPath) {
  HMODULE module =
      LoadLibraryExW(fullPath.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  // A Windows 7 without the update knows neither flag and refuses them as a bad parameter.
  if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
    module = LoadLibraryExW(fullPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  return module;
}

}  // namespace ostrel
