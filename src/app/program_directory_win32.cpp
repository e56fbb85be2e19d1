#include "app/program_directory_win32.h"

#include <shlwapi.h>

#include "app/program_directory.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"

namespace ostrel {

void FillProgramDirectory(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  PathRemoveFileSpecW(path);
  std::u16string directory = FromWide(path);
  directory += u'\\';
  SetProgramDirectory(std::move(directory));
}

}  // namespace ostrel

namespace ostrel {

std::u16string ApplicationName() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  PathStripPathW(path);
  PathRemoveExtensionW(path);
  return FromWide(path);
}

int ShowApplicationMessage(HWND owner, const wchar_t* text, UINT style) {
  const std::u16string caption = ApplicationName();
  return ShowMessageBox(owner, text, Wide(caption), style);
}

}  // namespace ostrel
