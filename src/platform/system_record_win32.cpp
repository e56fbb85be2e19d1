#include "platform/system_record_win32.h"

#include <windows.h>

#include <cstdio>

#include "ostrel_release.h"

namespace ostrel {
namespace {

// GetVersionExW answers what the manifest claims to know; the kernel's own function does not.
RTL_OSVERSIONINFOW RealWindowsVersion() {
  RTL_OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  using RtlGetVersionFn = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
  const auto get = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  if (!get || get(&version) != 0) version = {};
  return version;
}

const char* WineVersion() {
  using WineGetVersionFn = const char*(CDECL*)();
  const auto get = reinterpret_cast<WineGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
  return get ? get() : nullptr;
}

int ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

std::string SystemRecord() {
  const RTL_OSVERSIONINFOW windows = RealWindowsVersion();
  const char* wine = WineVersion();
  char record[256];
  std::snprintf(record, sizeof record, "version %s; Windows %lu.%lu.%lu%s%s; %d dpi; interface language 0x%04X",
                OSTREL_VERSION_TEXT, windows.dwMajorVersion, windows.dwMinorVersion, windows.dwBuildNumber,
                wine ? "; Wine " : "", wine ? wine : "", ScreenDpi(), GetUserDefaultUILanguage());
  return record;
}

}  // namespace ostrel
