// The sound output the player writes to: one stream of mono 16-bit blocks, played in order.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace ostrel::orvatone {

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;

  // `blockDone` is called once for every written block that has been played, in order; blocks
  // that Reset drops are not reported, so that what was heard can be told from what was not. It
  // may be called on any thread, also inside Reset or Close on the caller's thread, so it must
  // only signal (never call back into the device or wait for the caller's locks).
  // Opens the current default output, so that opening again after a failure finds a new default.
  virtual bool Open(int sampleRate, std::function<void()> blockDone) noexcept = 0;
  virtual bool Write(std::vector<std::int16_t> block) noexcept = 0;
  virtual void Pause() noexcept = 0;   // silent at once; the position is kept
  virtual void Resume() noexcept = 0;  // continues from the sample where it halted
  virtual void Reset() noexcept = 0;   // silent at once; blocks played so far reported, the rest dropped
  virtual void Close() noexcept = 0;   // after Reset; a closed device may be opened again
};

}  // namespace ostrel::orvatone
