#include "journal_win32.h"

#include <string>

#include "environment_win32.h"
#include "log_seam.h"

namespace ostrel::orvatone {

namespace {

// Long enough for any other writer's one line, short enough that a writer stuck in another
// process cannot hold up the caller's speech for long.
constexpr DWORD kWriterPatienceMs = 1000;

class WriterTurn {
 public:
  explicit WriterTurn(HANDLE writers) : writers_(writers) {
    if (writers_ == nullptr) return;
    const DWORD waited = WaitForSingleObject(writers_, kWriterPatienceMs);
    owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  }
  ~WriterTurn() {
    if (owned_) ReleaseMutex(writers_);
  }
  WriterTurn(const WriterTurn&) = delete;
  WriterTurn& operator=(const WriterTurn&) = delete;

 private:
  HANDLE writers_;
  bool owned_ = false;
};

}  // namespace

// Windows appends a FILE_APPEND_DATA write atomically, but Wine writes at the end it last saw,
// so lines of two processes overwrite each other there; the named mutex takes turns.
Journal::Journal() : writers_(CreateMutexW(nullptr, FALSE, L"OrvatoneJournalWriters")) {}

void Journal::Append(std::string_view entry) noexcept {
  try {
    const std::wstring path = EnvironmentValue(L"ORVATONE_JOURNAL");
    if (path.empty()) return;
    std::lock_guard lock(mutex_);
    const WriterTurn turn(writers_.get());
    std::string line = std::to_string(GetTickCount64());
    line += ' ';
    line += entry;
    line += '\n';
    // Written in one call and reopened each time, because the variable may name another file.
    const UniqueFile file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  } catch (...) {
    // A journal that cannot be written must not cost the caller its speech.
    LogCaught("writing the journal");
  }
}

}  // namespace ostrel::orvatone
