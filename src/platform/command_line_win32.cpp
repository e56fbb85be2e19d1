#include "platform/command_line_win32.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/unique_handle_win32.h"
#include "platform/wide_win32.h"

namespace ostrel {

std::vector<std::u16string> CommandLineArguments() {
  int count = 0;
  const LocalMem<LPWSTR*> argv(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<std::u16string> arguments;
  for (int i = 1; argv && i < count; ++i) arguments.push_back(FromWide(argv.get()[i]));
  return arguments;
}

}  // namespace ostrel
