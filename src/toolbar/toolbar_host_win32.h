#pragma once
#include <windows.h>

#include "reading/command.h"

namespace ostrel {

// What the toolbar window leaves to the application: the start-up and tear-down of the
// parts it does not own, the reading, the hot keys and the clipboard chain. The window
// hands on the messages that concern them.
class ToolbarHost {
 public:
  virtual ~ToolbarHost() = default;
  // WM_INITDIALOG: the application starts up, calling the window's own steps in between.
  virtual void ToolbarOpening() = 0;
  // Before the fade of a close: the reading stops and the settings are saved.
  virtual void ToolbarClosing() = 0;
  // WM_DESTROY, while the window still exists.
  virtual void ToolbarDestroying() = 0;
  // The window in the foreground before the toolbar takes it is the one whose text is wanted.
  virtual void NoteForegroundWindow() = 0;
  virtual void ExecuteCommand(Command command) = 0;
  virtual void OnHotKey(int id) = 0;
  virtual void OnTimer(UINT_PTR id) = 0;
  virtual void OnEngineDone(LPARAM lParam) = 0;
  virtual void OnDrawClipboard(WPARAM wParam, LPARAM lParam) = 0;
  virtual void OnChangeClipboardChain(WPARAM wParam, LPARAM lParam) = 0;
};

}  // namespace ostrel
