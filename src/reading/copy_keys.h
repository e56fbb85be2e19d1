#pragma once
#include <cstdint>
#include <vector>

namespace ostrel {

enum class CopyKeys { kCopy, kSelectAllAndCopy };

// One step of sending the copy keys. Before each chord, about a second of letting waiting
// messages run gives the application the focus went back to time to take it; the quick
// capture instead goes on as soon as that application is in front, within the same second.
struct KeyStep {
  enum class Kind { kDispatchMessages, kSleep, kControlChord, kWaitForFocus };
  Kind kind = Kind::kDispatchMessages;
  // kSleep: milliseconds; kControlChord: the virtual key pressed with left Ctrl;
  // kWaitForFocus: the most milliseconds to wait.
  int value = 0;
  friend bool operator==(const KeyStep&, const KeyStep&) = default;
};

std::vector<KeyStep> CopyKeySteps(CopyKeys keys, bool quick = false);

// What the quick capture's wait for the focus needs.
class FocusWaitHost {
 public:
  virtual ~FocusWaitHost() = default;
  // Runs the messages waiting in the thread's queue (the focus change among them).
  virtual void DispatchMessages() = 0;
  virtual uintptr_t ForegroundWindow() = 0;
  virtual void Sleep(int milliseconds) = 0;
  virtual uint64_t NowMs() = 0;
};

// The pause between looks at the foreground window while the quick capture waits.
inline constexpr int kFocusLookMs = 10;

// Lets waiting messages run until a window other than the toolbar is in front (the keys then
// reach it), but no longer than boundMs. True when one is in front.
bool WaitForApplicationInFront(FocusWaitHost& host, uintptr_t toolbar, int boundMs);

}  // namespace ostrel
