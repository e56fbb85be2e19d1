#pragma once
#include <windows.h>

#include <commctrl.h>

namespace ostrel::ui {

// A tooltip control whose tools each cover a whole window. It owns its window (destroyed
// with the object, or earlier with its owner).
class ToolTip {
 public:
  ToolTip() = default;
  ~ToolTip();
  ToolTip(const ToolTip&) = delete;
  ToolTip& operator=(const ToolTip&) = delete;

  bool Create(HWND owner, DWORD style = TTS_ALWAYSTIP | TTS_NOPREFIX);
  HWND hwnd() const { return hwnd_; }

  void SetMaxTipWidth(int width) const;
  // `text` LPSTR_TEXTCALLBACKW asks the window for it (TTN_GETDISPINFO) when shown.
  bool AddTool(HWND window, const wchar_t* text = LPSTR_TEXTCALLBACKW) const;
  void UpdateTipText(const wchar_t* text, HWND window) const;
  // The tool of the owner window itself.
  void UpdateTipText(const wchar_t* text) const { UpdateTipText(text, owner_); }
  // Mouse messages have to be relayed: the tool is not subclassed.
  void RelayEvent(MSG& message) const;

 private:
  TTTOOLINFOW ToolFor(HWND window, const wchar_t* text) const;

  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
};

}  // namespace ostrel::ui
