#pragma once
// Fakes for the capture's seams. They keep the state a capture changes (clipboard, focus,
// keys received, the wait) so tests assert what a capture leaves behind; the few calls that
// interleave with the engine and the toolbar also go to the shared log.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "reading/capture_platform.h"
#include "reading/focus_hand_back.h"
#include "reading_fakes.h"

namespace ostrel::testing {

inline constexpr uintptr_t kEditorId = 0x501;

class FakeCapturePlatform : public CapturePlatform {
 public:
  explicit FakeCapturePlatform(CallLog& log) : log_(log) {}

  // Keys as the application received them: which chord, and the window they went to.
  struct SentKeys {
    CopyKeys keys;
    uintptr_t activeWindow;
    friend bool operator==(const SentKeys&, const SentKeys&) = default;
  };

  uintptr_t ToolbarWindow() const override { return kToolbarId; }
  void ActivateToolbar() override { active = kToolbarId; }
  ClipboardClearing ClearClipboard(bool keepContents) override {
    activeWhenCleared = active;
    if (onClear) onClear();  // the change the emptying announces
    if (clearing == ClipboardClearing::kCleared) {
      if (keepContents) kept = clipboard;
      clipboard.reset();
      ++sequence;
    }
    return clearing;
  }
  uint32_t ClipboardSequence() override { return sequence; }
  bool PutKeptClipboardBack() override {
    ++putBacks;
    if (!kept) return true;
    clipboard = kept;
    kept.reset();
    ++sequence;
    return true;
  }
  void DropKeptClipboard() override { kept.reset(); }
  void HandFocusBack(uintptr_t previousForeground, bool quick) override {
    handedBackWith = previousForeground;
    handedBackQuickly = quick;
    active = focusGoesTo;
  }
  void SendCopyKeys(CopyKeys keys, bool quick) override {
    keysSent.push_back({keys, active});
    keysSentQuickly.push_back(quick);
    if (whileSendingKeys) whileSendingKeys();
  }
  bool StartClipboardWait(bool soon) override {
    log_.push_back("StartTimer");
    ++waitsStarted;
    waitsSoon += soon ? 1 : 0;
    waitRunning = waitStarts;
    return waitStarts;
  }

  // Another program (or the application) puts something on the clipboard.
  void CopiedByAnotherProgram(std::u16string text) {
    clipboard = std::move(text);
    ++sequence;
  }
  void EndClipboardWait() override {
    log_.push_back("StopTimer");
    waitRunning = false;
  }
  void Sleep(int milliseconds) override { log_.push_back("Sleep " + std::to_string(milliseconds)); }
  void ShowWarning(std::u16string_view text) override {
    log_.push_back("Warning");
    warnings.emplace_back(text);
    if (onWarning) onWarning();
  }
  void CloseToolbar() override {
    log_.push_back("CloseToolbar");
    closeRequested = true;
  }

  // What the platform does.
  ClipboardClearing clearing = ClipboardClearing::kCleared;
  bool waitStarts = true;
  uintptr_t focusGoesTo = kEditorId;
  std::function<void()> onClear;
  std::function<void()> whileSendingKeys;  // messages handled while the keys go out
  std::function<void()> onWarning;         // runs while the message box shows

  // What the capture left.
  std::optional<std::u16string> clipboard = u"what the user copied before";
  std::optional<std::u16string> kept;  // what the platform keeps to put back
  uint32_t sequence = 100;             // the clipboard's sequence number
  int putBacks = 0;
  uintptr_t active = 0;
  uintptr_t activeWhenCleared = 0;
  std::optional<uintptr_t> handedBackWith;
  bool handedBackQuickly = false;
  std::vector<SentKeys> keysSent;
  std::vector<bool> keysSentQuickly;
  int waitsStarted = 0;
  int waitsSoon = 0;
  bool waitRunning = false;
  bool closeRequested = false;
  std::vector<std::u16string> warnings;

 private:
  CallLog& log_;
};

// Windows with a focus that Alt+Esc or BringToFront moves, and a clock that ticks on every
// readsPerSecond readings.
class FakeWindowFocus : public WindowFocus {
 public:
  uintptr_t ActiveWindow() override { return active; }
  uintptr_t ForegroundWindow() override { return foreground; }
  bool BringToFront(uintptr_t window) override {
    broughtToFront.push_back(window);
    if (window == closedWindow) return false;
    foreground = active = window;
    return true;
  }
  bool IsNtFamily() override { return ntFamily; }
  void SendAltEscape() override {
    ++altEscapes;
    if (altEscapeMovesTo != 0) foreground = active = altEscapeMovesTo;
  }
  std::vector<TopLevelWindow> TopLevelWindows() override { return windows; }
  int LocalSecond() override { return secondReads++ / readsPerSecond; }

  bool ntFamily = true;
  uintptr_t active = kToolbarId;
  uintptr_t foreground = kToolbarId;
  uintptr_t altEscapeMovesTo = 0;
  uintptr_t closedWindow = 0;  // BringToFront fails on it
  std::vector<TopLevelWindow> windows;
  int secondReads = 0;
  int readsPerSecond = 3;
  int altEscapes = 0;
  std::vector<uintptr_t> broughtToFront;
};

}  // namespace ostrel::testing
