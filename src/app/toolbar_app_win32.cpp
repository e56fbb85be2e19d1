#include "app/toolbar_app_win32.h"

#include <commctrl.h>

#include "app/application_win32.h"
#include "platform/system_record_win32.h"
#include "platform/program_directory.h"
#include "platform/program_directory_win32.h"
#include "app/texts.h"
#include "engine/orvatone_library_win32.h"
#include "platform/log_win32.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "toolbar/dib_image_win32.h"

namespace ostrel {

int CDlgToolbarLayerApp::InitInstance() {
  log::StartProgramLog();
  log::Info("start: " + SystemRecord());
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  if (!InitCommonControlsEx(&controls)) log::Failed("InitCommonControlsEx", GetLastError());

  // Creating the mutex is the test: two instances started at the same instant cannot
  // both see it missing. The handle stays open for the life of the process.
  mutex_.reset(CreateMutexW(nullptr, FALSE, Wide(texts::kMutexName)));
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    log::Info("end: another instance is running");
    mutex_.reset();
    return 0;
  }
  if (!mutex_) log::Failed("creating the single-instance mutex", GetLastError());

  GdiplusSession gdiplus;
  FillProgramDirectory();
  {
    OrvatoneLibrary engine(Wide(ProgramDirectory() + u"Orvatone.dll"));
    if (!engine.Loaded()) {
      // The toolbar still opens (settings and hot keys stay usable), but nothing can be read.
      ShowApplicationMessage(nullptr, Wide(texts::kEngineMissing), MB_OK | MB_ICONWARNING);
    }
    Application application(engine);
    application.Run();
  }
  log::Info("end");
  return 0;
}

int CDlgToolbarLayerApp::ExitInstance() {
  ReleaseMutex(mutex_.get());
  return 0;
}

}  // namespace ostrel
