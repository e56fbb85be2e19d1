#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace ostrel::dicteditor {

// What saving needs of the file system; the platform's is in file_system_win32.
class SaveFileSystem {
 public:
  virtual ~SaveFileSystem() = default;
  // Creates or truncates the file, writes all bytes and flushes them to the disk; 0 or an error
  // code (a half-written file may be left behind).
  virtual uint32_t WriteWholeFile(const std::u16string& path, std::string_view bytes) = 0;
  // Puts `replacement` in the place of `target` in one step (the target may be missing); 0 or
  // an error code, with the target as it was.
  virtual uint32_t ReplaceWith(const std::u16string& target, const std::u16string& replacement) = 0;
  virtual void Remove(const std::u16string& path) = 0;
};

enum class SaveStep { kNone, kWrite, kReplace };

struct SaveResult {
  SaveStep failedAt = SaveStep::kNone;
  uint32_t error = 0;
  bool Saved() const { return failedAt == SaveStep::kNone; }
};

// The new file beside the target, so that the final step is a rename within one folder.
std::u16string SavingPathFor(std::u16string_view target);

// Writes the bytes beside the target and then replaces the target with them: whatever step
// fails, the target keeps its old content and the file beside it is removed.
SaveResult SaveReplacing(SaveFileSystem& files, const std::u16string& target, std::string_view bytes);

}  // namespace ostrel::dicteditor
