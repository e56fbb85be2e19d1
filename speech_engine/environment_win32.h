// Environment variables read from the process block at each use, so a value set with
// SetEnvironmentVariableW after the library was loaded still counts.
#pragma once

#include <windows.h>

#include <string>

namespace ostrel::orvatone {

inline std::wstring EnvironmentValue(const wchar_t* name) {
  std::wstring value;
  DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  while (size > 0) {
    value.resize(size);
    const DWORD copied = GetEnvironmentVariableW(name, value.data(), size);
    if (copied < size) {
      value.resize(copied);
      return value;
    }
    size = copied;  // the variable grew in between
  }
  return {};
}

}  // namespace ostrel::orvatone
