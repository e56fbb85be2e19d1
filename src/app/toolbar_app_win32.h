#pragma once
#include <windows.h>

#include "platform/unique_handle_win32.h"

namespace ostrel {

// The process's entry into the program: one instance at a time, GDI+ and the program
// directory for everything after, the toolbar run modally, then the tear-down.
class CDlgToolbarLayerApp {
 public:
  // Returns 0 in every case, as the toolbar has nothing to report.
  int InitInstance();
  int ExitInstance();

 private:
  UniqueKernelHandle mutex_;
};

}  // namespace ostrel
