#include <windows.h>

#include "app/toolbar_app_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  ostrel::CDlgToolbarLayerApp app;
  app.InitInstance();
  return app.ExitInstance();
}
