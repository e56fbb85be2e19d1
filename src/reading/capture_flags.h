#pragma once
#include <cstdint>

namespace ostrel {

// The flags a capture shares with the clipboard viewer and the clipboard timer. The toolbar
// owns one and hands it by reference to each of them, so all see the same values.
struct CaptureFlags {
  // 1 from the moment a capture has emptied the clipboard until the next clipboard change.
  int32_t ClipboardWaiting = 0;
  // Set by that change, cleared by the next capture; the timer tick reads it.
  int32_t ClipboardChanged = 0;
  // 1 while the clipboard timer runs for a capture that has not yet finished or given up.
  int32_t ClipboardTimerRunning = 0;
};

}  // namespace ostrel
