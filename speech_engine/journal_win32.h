// The journal that tests outside the program read: one line per engine operation, appended to
// the file that ORVATONE_JOURNAL names, each line starting with the millisecond tick count.
#pragma once

#include <windows.h>

#include <mutex>
#include <string_view>

#include "platform/unique_handle_win32.h"

namespace ostrel::orvatone {

class Journal {
 public:
  Journal();

  void Append(std::string_view entry) noexcept;

 private:
  std::mutex mutex_;
  UniqueKernelHandle writers_;  // named mutex shared by every process that loads the engine
};

}  // namespace ostrel::orvatone
