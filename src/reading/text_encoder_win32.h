#pragma once
#include <windows.h>

#include <string>

#include "platform/unique_handle_win32.h"
#include "reading/reading_host.h"

namespace ostrel {

// Code pages through the shared conversion (a character the code page lacks becomes its default
// character, as the engine has always been sent); traditional to simplified through Hanvert.dll,
// loaded at its first use and kept for the encoder's life.
class Win32TextEncoder final : public TextEncoder {
 public:
  // Hanvert.dll from the program's folder.
  Win32TextEncoder();
  explicit Win32TextEncoder(std::wstring converterPath);

  std::string Encode(std::u16string_view text, uint32_t codePage, size_t limit) override;
  void TraditionalToSimplified(std::u16string& text) override;

 private:
  using FanTiToJianTiFn = int(WINAPI*)(wchar_t*);

  bool LoadConverter();

  std::wstring converterPath_;
  bool loadTried_ = false;
  UniqueModule converter_;
  FanTiToJianTiFn fanTiToJianTi_ = nullptr;
};

}  // namespace ostrel
