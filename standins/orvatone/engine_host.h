// What the simulated engine needs from its platform: a journal, a way to tell a window that a text
// has been spoken, the fixed speech length set from outside, and a hold on the module while a
// worker thread runs its code.
#pragma once

#include <chrono>
#include <optional>
#include <string_view>

namespace ostrel::orvatone {

class EngineHost {
 public:
  virtual ~EngineHost() = default;

  // One journal entry without the tick count and the line end.
  virtual void Record(std::string_view entry) noexcept = 0;
  virtual void PostSpoken(void* window) noexcept = 0;
  // Read at every Speak so that a test can change it between speeches.
  virtual std::optional<std::chrono::milliseconds> FixedSpeechLength() noexcept = 0;
  virtual void OnWorkerStarted() noexcept = 0;
  virtual void OnWorkerEnded() noexcept = 0;
};

}  // namespace ostrel::orvatone
