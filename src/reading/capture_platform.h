#pragma once
#include <cstdint>
#include <string_view>

#include "reading/copy_keys.h"

namespace ostrel {

enum class ClipboardClearing { kCleared, kNotOpened, kNotEmptied };

// What a text capture asks of the platform, one operation per step of the capture; the
// capture decides the order and what a failure means.
class CapturePlatform {
 public:
  virtual ~CapturePlatform() = default;
  virtual uintptr_t ToolbarWindow() const = 0;
  // The toolbar becomes the active window, so that the hand-back has a window to move from.
  virtual void ActivateToolbar() = 0;
  // Opens, empties and closes the clipboard. It is closed again on every outcome, so other
  // programs can use it while a failure is shown.
  virtual ClipboardClearing ClearClipboard() = 0;
  // Gives the focus to the application the user works in and waits (about a second at most)
  // until it has moved. previousForeground: the window that had the foreground before the
  // toolbar took it, 0 when none is known.
  virtual void HandFocusBack(uintptr_t previousForeground) = 0;
  // Has that application copy its selection (or select all, then copy); the messages that
  // arrive meanwhile are handled, so handlers may run inside this call.
  virtual void SendCopyKeys(CopyKeys keys) = 0;
  // The clipboard timer whose ticks pick the copied text up.
  virtual bool StartClipboardWait() = 0;
  virtual void EndClipboardWait() = 0;
  virtual void Sleep(int milliseconds) = 0;
  // A topmost warning box with the reading's caption; its loop may run handlers too.
  virtual void ShowWarning(std::u16string_view text) = 0;
  virtual void CloseToolbar() = 0;
};

}  // namespace ostrel
