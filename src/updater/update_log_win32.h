#pragma once
#include <string>
#include <string_view>

namespace ostrel::updater {

// "%TEMP%\AppUpdateBRN.log": the updater says nothing at start-up, so this is where to look.
std::wstring UpdateLogPath();

// Appends one line, UTF-8, after the local time; a log grown past `maxBytes` starts over, so
// that a check at every start never fills the disk.
void AppendUpdateLog(const std::wstring& path, std::string_view line, unsigned long long maxBytes = 64 * 1024);

}  // namespace ostrel::updater
