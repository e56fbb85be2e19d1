#pragma once
#include <cstdint>
#include <vector>

namespace ostrel {

enum class CopyKeys { kCopy, kSelectAllAndCopy };

// One step of sending the copy keys. Before each chord, about a second of letting waiting
// messages run gives the application the focus went back to time to take it.
struct KeyStep {
  enum class Kind { kDispatchMessages, kSleep, kControlChord };
  Kind kind = Kind::kDispatchMessages;
  int value = 0;  // kSleep: milliseconds; kControlChord: the virtual key pressed with left Ctrl
  friend bool operator==(const KeyStep&, const KeyStep&) = default;
};

std::vector<KeyStep> CopyKeySteps(CopyKeys keys);

}  // namespace ostrel
