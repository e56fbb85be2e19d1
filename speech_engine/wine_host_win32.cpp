#include "wine_host_win32.h"

#include <windows.h>

#include <vector>

#include "encoding/utf8.h"
#include "platform/unique_handle_win32.h"

namespace ostrel::orvatone {

namespace {

using UnixFileNameFn = char*(CDECL*)(LPCWSTR);
using DosFileNameFn = WCHAR*(CDECL*)(LPCSTR);

template <class Fn>
Fn Kernel32Function(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

}  // namespace

bool RunsUnderWine() {
  static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

std::optional<std::wstring> HostFile(const char* unixPath) {
  const auto toDos = Kernel32Function<DosFileNameFn>("wine_get_dos_file_name");
  if (!RunsUnderWine() || toDos == nullptr) return std::nullopt;
  const ProcessHeapMem<WCHAR> dos(toDos(unixPath));
  if (!dos) return std::nullopt;
  std::wstring path(dos.get());
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
  return path;
}

std::optional<std::string> HostPathOf(const std::wstring& windowsPath) {
  const auto toUnix = Kernel32Function<UnixFileNameFn>("wine_get_unix_file_name");
  if (!RunsUnderWine() || toUnix == nullptr) return std::nullopt;
  const ProcessHeapMem<char> hostPath(toUnix(windowsPath.c_str()));
  if (!hostPath) return std::nullopt;
  return std::string(hostPath.get());
}

bool StartHostShell(const std::string& script) {
  static const std::optional<std::wstring> shell = HostFile("/bin/sh");
  if (!shell) return false;
  const std::u16string wideScript = DecodeUtf8Lenient(script);
  std::wstring commandLine = L"/bin/sh -c \"" + std::wstring(wideScript.begin(), wideScript.end()) + L"\"";
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(shell->c_str(), buffer.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  // Under Wine these handles cannot be waited on; they are only closed.
  const UniqueKernelHandle program(process.hProcess);
  const UniqueKernelHandle thread(process.hThread);
  return true;
}

}  // namespace ostrel::orvatone
