#include <windows.h>

#include <objbase.h>
#include "ostrel_release.h"
#include "platform/command_line_win32.h"
#include "platform/library_loading_win32.h"
#include "platform/unique_handle_win32.h"
#include "updater/update_check.h"
#include "updater/update_host_win32.h"
#include "updater/update_log_win32.h"

// AppUpdateBRN.exe: the toolbar starts it with "-updchk" at every start and does not wait.
// The exit code is always 0; what happened goes to the log.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace ostrel;
  using namespace ostrel::updater;
  RestrictLibrarySearch();

  Win32UpdateHost host(UpdateLogPath());
  // Two toolbars started together would otherwise offer the same update twice.
  const UniqueKernelHandle running(CreateMutexW(nullptr, FALSE, L"Local\\OstrelQuartetAppUpdateBRN"));
  if (running && GetLastError() == ERROR_ALREADY_EXISTS) {
    host.Log("already-running: another check is under way");
    return 0;
  }
  // The shell may hand the download page to a handler that needs COM.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  RunUpdateCheck(host, ModeFromArguments(CommandLineArguments()), u"" OSTREL_VERSION_TEXT);
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}
