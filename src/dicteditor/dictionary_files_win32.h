#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "dicteditor/dictionary_document.h"
#include "dicteditor/safe_save.h"

namespace ostrel::dicteditor {

struct FileBytes {
  std::string bytes;
  DWORD error = 0;  // 0: read
};
FileBytes ReadWholeFile(const std::u16string& path);

// The system's words for an error, with its number.
std::u16string ErrorText(DWORD error);

orvatone::CodePageDecoder CodePageDecoderFor(unsigned codePage);
// Refuses (nothing) what the code page cannot say rather than writing a substitute character.
CodePageEncoder CodePageEncoderFor(unsigned codePage);

class Win32SaveFileSystem final : public SaveFileSystem {
 public:
  uint32_t WriteWholeFile(const std::u16string& path, std::string_view bytes) override;
  uint32_t ReplaceWith(const std::u16string& target, const std::u16string& replacement) override;
  void Remove(const std::u16string& path) override;
};

// The user's roaming application-data folder (%APPDATA%).
std::u16string AppDataFolder();
// Makes the folder and those above it; true when it exists afterwards.
bool MakeFolder(const std::u16string& folder);

}  // namespace ostrel::dicteditor
