#include <windows.h>

#include <objbase.h>
#include "ostrel_release.h"
#include "platform/command_line_win32.h"
#include "platform/library_loading_win32.h"
#include "platform/log_win32.h"
#include "platform/system_record_win32.h"
#include "platform/unique_handle_win32.h"
#include "updater/update_check.h"
#include "updater/update_host_win32.h"

// AppUpdateBRN.exe: the toolbar starts it with "-updchk" at every start and does not wait.
// The exit code is always 0; what happened goes to the log (AppUpdateBRN.log).
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace ostrel;
  using namespace ostrel::updater;
  RestrictLibrarySearch();
  log::StartProgramLog();
  log::Info("start: " + SystemRecord());

  Win32UpdateHost host;
  // Two toolbars started together would otherwise offer the same update twice.
  const UniqueKernelHandle running(CreateMutexW(nullptr, FALSE, L"Local\\OstrelQuartetAppUpdateBRN"));
  if (running && GetLastError() == ERROR_ALREADY_EXISTS) {
    host.Log("already-running: another check is under way");
    return 0;
  }
  if (!running) log::Failed("creating the updater's mutex", GetLastError());
  // The shell may hand the download page to a handler that needs COM.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  if (FAILED(com)) log::FailedHresult("CoInitializeEx", com);
  RunUpdateCheck(host, ModeFromArguments(CommandLineArguments()), u"" OSTREL_VERSION_TEXT);
  if (SUCCEEDED(com)) CoUninitialize();
  log::Info("end");
  return 0;
}
