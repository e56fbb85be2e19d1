#include "app/toolbar_app_win32.h"

#include <commctrl.h>

#include "app/application_win32.h"
#include "platform/program_directory.h"
#include "platform/program_directory_win32.h"
#include "app/texts.h"
#include "engine/orvatone_library_win32.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "toolbar/dib_image_win32.h"

namespace ostrel {

int CDlgToolbarLayerApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  // Creating the mutex is the test: two instances started at the same instant cannot
  // both see it missing. The handle stays open for the life of the process.
  mutex_.reset(CreateMutexW(nullptr, FALSE, Wide(texts::kMutexName)));
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    mutex_.reset();
    return 0;
  }

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
  return 0;
}

int CDlgToolbarLayerApp::ExitInstance() {
  ReleaseMutex(mutex_.get());
  return 0;
}

}  // namespace ostrel
