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
  // programs can use it while a failure is shown. keepContents: what the clipboard holds is
  // kept first (FormatsToKeep), in place of anything kept before; without it, what was kept
  // before stays kept. Nothing new is kept when the clipboard is not emptied.
  virtual ClipboardClearing ClearClipboard(bool keepContents) = 0;
  // Changes with every change anyone makes to the clipboard.
  virtual uint32_t ClipboardSequence() = 0;
  // Empties the clipboard and puts the kept formats on it; nothing is kept afterwards. With
  // nothing kept the clipboard is left alone. False when not all could go back.
  virtual bool PutKeptClipboardBack() = 0;
  virtual void DropKeptClipboard() = 0;
  // Gives the focus to the application the user works in and waits (about a second at most)
  // until it has moved. previousForeground: the window that had the foreground before the
  // toolbar took it, 0 when none is known. quick: see FocusHandBack::HandBack.
  virtual void HandFocusBack(uintptr_t previousForeground, bool quick) = 0;
  // Has that application copy its selection (or select all, then copy); the messages that
  // arrive meanwhile are handled, so handlers may run inside this call. Modifiers still held
  // from the hot key are released first and not pressed again.
  virtual void SendCopyKeys(CopyKeys keys, bool quick) = 0;
  // The clipboard timer whose ticks pick the copied text up. soon: the next tick comes at
  // once rather than a period later; a running timer is restarted so.
  virtual bool StartClipboardWait(bool soon) = 0;
  virtual void EndClipboardWait() = 0;
  virtual void Sleep(int milliseconds) = 0;
  // A topmost warning box with the reading's caption; its loop may run handlers too.
  virtual void ShowWarning(std::u16string_view text) = 0;
  virtual void CloseToolbar() = 0;
};

}  // namespace ostrel
