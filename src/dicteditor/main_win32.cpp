#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "dicteditor/dictionary_editor_win32.h"
#include "dicteditor/dictionary_files_win32.h"
#include "dicteditor/editor_setup.h"
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
  int argc = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    if (argc >= 2 && argv[1][0] != L'\0') {
      wchar_t full[MAX_PATH * 4] = {};
      const DWORD length = GetFullPathNameW(argv[1], MAX_PATH * 4, full, nullptr);
      options.path = length > 0 && length < MAX_PATH * 4 ? FromWide(full) : FromWide(argv[1]);
    }
    LocalFree(argv);
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
