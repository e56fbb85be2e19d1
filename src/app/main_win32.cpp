#include <windows.h>

#include "app/toolbar_app_win32.h"
#include "platform/library_loading_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  ostrel::RestrictLibrarySearch();
  ostrel::CDlgToolbarLayerApp app;
  app.InitInstance();
  return app.ExitInstance();
}
