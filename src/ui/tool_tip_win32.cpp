#include "ui/tool_tip_win32.h"

namespace ostrel::ui {

ToolTip::~ToolTip() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool ToolTip::Create(HWND owner, DWORD style) {
  if (hwnd_) return false;
  hwnd_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
  owner_ = owner;
  return hwnd_ != nullptr;
}

void ToolTip::SetMaxTipWidth(int width) const { SendMessageW(hwnd_, TTM_SETMAXTIPWIDTH, 0, width); }

TTTOOLINFOW ToolTip::ToolFor(HWND window, const wchar_t* text) const {
  TTTOOLINFOW tool{};
  // The size every common-controls version accepts; the fields after lParam are not used.
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = owner_;
  tool.uId = reinterpret_cast<UINT_PTR>(window);
  tool.lpszText = const_cast<wchar_t*>(text);
  return tool;
}

bool ToolTip::AddTool(HWND window, const wchar_t* text) const {
  TTTOOLINFOW tool = ToolFor(window, text);
  return SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

void ToolTip::UpdateTipText(const wchar_t* text, HWND window) const {
  TTTOOLINFOW tool = ToolFor(window, text ? text : L"");
  SendMessageW(hwnd_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTip::RelayEvent(MSG& message) const {
  if (hwnd_) SendMessageW(hwnd_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

}  // namespace ostrel::ui
