#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "dicteditor/dictionary_editor_win32.h"
#include "dicteditor/dictionary_files_win32.h"
#include "dicteditor/editor_setup.h"
#include "platform/command_line_win32.h"
#include "platform/library_loading_win32.h"
#include "platform/log_win32.h"
#include "platform/system_record_win32.h"
#include "platform/module_path_win32.h"
#include "platform/program_directory_win32.h"
#include "platform/wide_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace ostrel;
  RestrictLibrarySearch();
  log::StartProgramLog();
  log::Info("start: " + SystemRecord());
  INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  if (!InitCommonControlsEx(&init)) log::Failed("InitCommonControlsEx", GetLastError());

  dicteditor::EditorOptions options;
  options.language = dicteditor::LanguageFromProgramName(ApplicationName());
  if (const std::vector<std::u16string> arguments = CommandLineArguments();
      !arguments.empty() && !arguments.front().empty()) {
    const std::u16string& given = arguments.front();
    wchar_t full[MAX_PATH * 4] = {};
    const DWORD length = GetFullPathNameW(Wide(given), MAX_PATH * 4, full, nullptr);
    options.path = length > 0 && length < MAX_PATH * 4 ? FromWide(full) : given;
  }
  options.engineFolder = dicteditor::FindEngineFolder(ModuleDirectory(), [](const std::u16string& folder) {
    return GetFileAttributesW(Wide(folder + u"Orvatone.dll")) != INVALID_FILE_ATTRIBUTES;
  });
  options.appDataFolder = dicteditor::AppDataFolder();

  dicteditor::CDictionaryEditorDlg editor(std::move(options));
  editor.DoModal(nullptr);
  log::Info("end");
  return 0;
}
