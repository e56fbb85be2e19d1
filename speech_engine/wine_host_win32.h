// The Unix host under Wine: whether there is one, and its paths. Wine lets a Windows program start
// a host program, but hands back neither its pipes nor a handle to wait on, so the two exchange
// files and the host side announces a finished job by renaming its status file.
#pragma once

#include <optional>
#include <string>

namespace ostrel::orvatone {

bool RunsUnderWine();

// "/usr/bin/espeak-ng" → a path Windows calls can open; nothing when the file does not exist.
std::optional<std::wstring> HostFile(const char* unixPath);

// The host's path (UTF-8) of a Windows path; nothing outside Wine.
std::optional<std::string> HostPathOf(const std::wstring& windowsPath);

// Starts `/bin/sh -c script` on the host. The script must not contain double quotes or
// backslashes (Wine splits the command line the Windows way).
bool StartHostShell(const std::string& script);

}  // namespace ostrel::orvatone
