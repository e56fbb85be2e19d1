#pragma once
#include <windows.h>

#include <vector>

namespace ostrel::ui {

class DialogTemplate;

// A dialog window driven by one static dialog procedure. Each message goes, in order, to
// WindowProc (which sees everything first), then to OnInitDialog or the handler table
// (DialogImpl<T>), then to OnOK/OnCancel for the IDOK/IDCANCEL commands; what none of them
// takes goes to the dialog manager (the procedure returns FALSE, so DefDlgProc acts).
// WM_NCDESTROY always reaches the dialog manager, which frees its own data there.
class Dialog {
 public:
  // A template from the resources of `instance` (the program's module when null).
  explicit Dialog(UINT templateId, HINSTANCE instance = nullptr);
  // A template built in memory; the bytes are copied.
  explicit Dialog(const DialogTemplate& source);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog in a modal loop of its own and returns the EndDialog value; -1 when
  // the window could not be created or was destroyed without EndDialog.
  INT_PTR DoModal(HWND owner);
  // Creates the window modelessly, e.g. a child page inside another dialog.
  bool Create(HWND parent);
  // Ends a modal run after the message being handled; the window goes when DoModal returns.
  // Safe from anywhere on the thread, also inside a nested loop (message box, menu).
  void EndDialog(INT_PTR result);
  void Destroy();

  HWND hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  void Show(bool show);
  // Moves within the parent, keeping the size, without repainting.
  void MoveTo(int x, int y);

 protected:
  // The window and its controls exist; a modal dialog is shown after this. TRUE lets the
  // dialog manager set the focus.
  virtual BOOL OnInitDialog() { return TRUE; }
  // Called by every modal loop of this framework (also a nested one of another dialog) for
  // queued messages to this window or its descendants, innermost dialog first, before the
  // dialog manager's keyboard handling. True when the message is done with.
  virtual bool PreTranslateMessage(MSG& message);
  // Sees every message first. True = handled, `result` is the answer and nothing else runs;
  // false lets the handler table and then the default handling go on.
  virtual bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The handler table; DialogImpl<T> supplies it.
  virtual bool DispatchHandlers(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // A page inside another dialog never ends by itself: its frame answers OK and Cancel.
  virtual void OnOK() {
    if (!IsPage()) EndDialog(IDOK);
  }
  virtual void OnCancel() {
    if (!IsPage()) EndDialog(IDCANCEL);
  }
  bool IsPage() const { return (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD) != 0; }

  // Runs the dialog manager's handling of the message now being handled and returns its
  // result, e.g. to act after it. It runs at most once per message: when a handler has
  // called it, the message counts as handled with that result.
  LRESULT DefaultHandling();

 private:
  struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool defaultRan = false;
    LRESULT defaultResult = 0;
  };
  // The message that DefaultHandling hands to DefDlgProcW, which calls this dialog's
  // procedure with it first: that echo must answer FALSE instead of entering the table.
  struct Echo {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool pending = false;
  };

  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static Dialog* FromWindow(HWND window);
  // Messages for `target` and its ancestors go to each of them that is one of ours.
  static bool PreTranslateChain(MSG& message);
  bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  HWND CreateWindowFor(HWND parent);
  void Detach();

  UINT templateId_ = 0;
  HINSTANCE instance_ = nullptr;
  std::vector<WORD> memoryTemplate_;
  HWND hwnd_ = nullptr;
  bool endRequested_ = false;
  INT_PTR result_ = -1;
  CurrentMessage* current_ = nullptr;
  Echo echo_;
};

}  // namespace ostrel::ui
