#include "updater/update_log_win32.h"

#include <windows.h>

#include <cstdio>

#include "platform/unique_handle_win32.h"

namespace ostrel::updater {

std::wstring UpdateLogPath() {
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  return std::wstring(folder, length > 0 && length <= MAX_PATH ? length : 0) + L"AppUpdateBRN.log";
}

void AppendUpdateLog(const std::wstring& path, std::string_view line, unsigned long long maxBytes) {
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  const bool startOver =
      GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes) &&
      ((static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow) > maxBytes;
  const UniqueFile file(CreateFileW(path.c_str(), startOver ? GENERIC_WRITE : FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    startOver ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;  // nowhere to tell; the check itself is done
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond);
  std::string text = stamp;
  text.append(line);
  text += "\r\n";
  DWORD written = 0;
  WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace ostrel::updater
