#include "ui/dialog_win32.h"

#include <cstdio>

#include "platform/log_win32.h"
#include "ui/dialog_template_win32.h"

namespace ostrel::ui {
namespace {

// The messages whose dialog-procedure return value is the result itself rather than
// TRUE with the result in DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
  switch (message) {
    case WM_INITDIALOG:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
    case WM_COMPAREITEM:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return true;
    default:
      return false;
  }
}

// Buttons and menu items send code 0, accelerators 1.
bool IsCommandFor(WPARAM wParam, WORD id) {
  return LOWORD(wParam) == id && (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == 1);
}

}  // namespace

Dialog::Dialog(UINT templateId, HINSTANCE instance)
    : templateId_(templateId), instance_(instance ? instance : GetModuleHandleW(nullptr)) {}

Dialog::Dialog(const DialogTemplate& source) : instance_(GetModuleHandleW(nullptr)), memoryTemplate_(source.Build()) {}

Dialog::~Dialog() {
  // Detached first: what the window says while it goes must not reach a half-destroyed object.
  if (HWND window = hwnd_) {
    Detach();
    DestroyWindow(window);
  }
}

HWND Dialog::CreateWindowFor(HWND parent) {
  const auto self = reinterpret_cast<LPARAM>(this);
  if (!memoryTemplate_.empty()) {
    return CreateDialogIndirectParamW(instance_, reinterpret_cast<LPCDLGTEMPLATEW>(memoryTemplate_.data()), parent,
                                      &Dialog::DialogProc, self);
  }
  return CreateDialogParamW(instance_, MAKEINTRESOURCEW(templateId_), parent, &Dialog::DialogProc, self);
}

INT_PTR Dialog::DoModal(HWND owner) {
  if (hwnd_) return -1;
  endRequested_ = false;
  result_ = -1;

  HWND root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  // An owner that is already disabled (by an outer modal run) stays so afterwards.
  const bool ownerDisabledHere = root && IsWindowEnabled(root);
  if (ownerDisabledHere) EnableWindow(root, FALSE);

  if (CreateWindowFor(owner) && hwnd_ && !endRequested_ && !IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_SHOWNORMAL);

  MSG message{};
  while (hwnd_ && !endRequested_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      // The loop that called us must see the quit too.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (PreTranslateChain(message)) continue;
    if (hwnd_ && IsDialogMessageW(hwnd_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }

  // The owner first, so that activation goes back to it when the dialog disappears.
  if (ownerDisabledHere) EnableWindow(root, TRUE);
  if (hwnd_) DestroyWindow(hwnd_);
  return result_;
}

bool Dialog::Create(HWND parent) {
  if (hwnd_) return false;
  endRequested_ = false;
  return CreateWindowFor(parent) != nullptr && hwnd_ != nullptr;
}

void Dialog::EndDialog(INT_PTR result) {
  result_ = result;
  endRequested_ = true;
  // Wakes the modal loop when this runs outside its dispatch (a message sent from elsewhere).
  if (hwnd_) PostMessageW(hwnd_, WM_NULL, 0, 0);
}

void Dialog::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void Dialog::Show(bool show) {
  if (hwnd_) ShowWindow(hwnd_, show ? SW_SHOW : SW_HIDE);
}

void Dialog::MoveTo(int x, int y) {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

bool Dialog::PreTranslateMessage(MSG&) { return false; }

bool Dialog::WindowProc(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool Dialog::DispatchHandlers(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Dialog::DefaultHandling() {
  if (!current_ || !hwnd_) return 0;
  CurrentMessage& frame = *current_;
  if (frame.defaultRan) return frame.defaultResult;
  frame.defaultRan = true;
  const Echo outer = echo_;
  echo_ = Echo{frame.message, frame.wParam, frame.lParam, true};
  frame.defaultResult = DefDlgProcW(hwnd_, frame.message, frame.wParam, frame.lParam);
  echo_ = outer;
  return frame.defaultResult;
}

bool Dialog::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  CurrentMessage frame{message, wParam, lParam};
  struct Scope {
    Dialog& dialog;
    CurrentMessage* outer;
    ~Scope() { dialog.current_ = outer; }
  } scope{*this, current_};
  current_ = &frame;

  bool handled = WindowProc(message, wParam, lParam, result);
  if (!handled) {
    if (message == WM_INITDIALOG) {
      result = OnInitDialog();
      handled = true;
    } else if (DispatchHandlers(message, wParam, lParam, result)) {
      handled = true;
    } else if (message == WM_COMMAND && IsCommandFor(wParam, IDOK)) {
      OnOK();
      result = 0;
      handled = true;
    } else if (message == WM_COMMAND && IsCommandFor(wParam, IDCANCEL)) {
      OnCancel();
      result = 0;
      handled = true;
    }
  }
  if (frame.defaultRan) {
    if (!handled) result = frame.defaultResult;
    handled = true;
  } else if (message == WM_NCDESTROY) {
    // The dialog manager frees its own data here; a handler must not keep it from that.
    handled = false;
  }
  return handled;
}

void Dialog::Detach() {
  if (hwnd_ && FromWindow(hwnd_) == this) SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
  hwnd_ = nullptr;
}

Dialog* Dialog::FromWindow(HWND window) {
  if (GetClassLongPtrW(window, GCW_ATOM) != reinterpret_cast<ULONG_PTR>(WC_DIALOG)) return nullptr;
  if (GetWindowLongPtrW(window, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&Dialog::DialogProc)) return nullptr;
  return reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
}

bool Dialog::PreTranslateChain(MSG& message) {
  for (HWND window = message.hwnd; window;) {
    if (Dialog* dialog = FromWindow(window); dialog && dialog->PreTranslateMessage(message)) return true;
    if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)) break;
    window = GetParent(window);
  }
  return false;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    if (!self) return FALSE;
    self->hwnd_ = window;
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  } else {
    // Zero until WM_INITDIALOG (WM_SETFONT comes earlier) and after WM_NCDESTROY.
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
  }
  if (!self) return FALSE;

  Echo& echo = self->echo_;
  if (echo.pending && echo.message == message && echo.wParam == wParam && echo.lParam == lParam) {
    echo.pending = false;
    return FALSE;
  }

  LRESULT result = 0;
  bool handled = false;
  try {
    handled = self->Route(message, wParam, lParam, result);
  } catch (...) {
    // The message goes on to the dialog manager as if unhandled; the record says which one.
    char where[40];
    std::snprintf(where, sizeof where, "window message 0x%04X", message);
    log::Caught(where);
    handled = false;
  }
  if (message == WM_NCDESTROY) self->Detach();
  if (!handled) return FALSE;
  if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace ostrel::ui
