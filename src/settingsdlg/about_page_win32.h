#pragma once
#include <windows.h>

#include "../../resources/settings_ids.h"
#include "ui/dialog_win32.h"

namespace ostrel {

// The version page: its template says everything.
class CAboutDlg : public ui::Dialog {
 public:
  CAboutDlg() : Dialog(IDD_ABOUT) {}
};

}  // namespace ostrel
