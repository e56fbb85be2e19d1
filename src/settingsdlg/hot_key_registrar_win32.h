#pragma once
#include <windows.h>

#include "settingsdlg/hot_key_registrar.h"

namespace ostrel {

// Registers the global hot keys on `window` (the toolbar); failures are told in a box owned
// by `messageOwner`.
class Win32HotKeyRegistrar final : public HotKeyRegistrar {
 public:
  Win32HotKeyRegistrar(HWND window, HWND messageOwner) : window_(window), messageOwner_(messageOwner) {}

  void Unregister(int id) override;
  bool Register(int id, uint16_t word) override;
  void ShowFailure(int id, std::u16string_view text) override;

 private:
  HWND window_;
  HWND messageOwner_;
};

}  // namespace ostrel
