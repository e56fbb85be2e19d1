// The journal that tests outside the program read: one line per engine operation, appended to
// the file that ORVATONE_JOURNAL names, each line starting with the millisecond tick count.
#pragma once

#include <windows.h>

#include <mutex>
#include <string_view>

namespace ostrel::orvatone {

class Journal {
 public:
  Journal();
  ~Journal();
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  void Append(std::string_view entry) noexcept;

 private:
  std::mutex mutex_;
  HANDLE writers_;  // named mutex shared by every process that loads the engine
};

}  // namespace ostrel::orvatone
