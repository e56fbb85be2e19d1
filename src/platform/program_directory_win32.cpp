#include "platform/program_directory_win32.h"

#include <shlwapi.h>

#include <utility>

#include "platform/module_path_win32.h"
#include "platform/program_directory.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"

namespace ostrel {

void FillProgramDirectory(HMODULE module) {
  std::u16string directory = ModuleDirectory(module);
  const bool driveRoot = directory.size() == 3 && directory[1] == u':';
  if (directory.empty() || driveRoot) directory += u'\\';
  SetProgramDirectory(std::move(directory));
}

std::u16string ApplicationName() {
  std::wstring name(WideView(ModulePath()));
  PathStripPathW(name.data());
  PathRemoveExtensionW(name.data());
  return FromWide(name.c_str());
}

int ShowApplicationMessage(HWND owner, const wchar_t* text, UINT style) {
  const std::u16string caption = ApplicationName();
  return ShowMessageBox(owner, text, Wide(caption), style);
}

}  // namespace ostrel
