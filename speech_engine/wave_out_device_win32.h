// The sound card through waveOut: the default output device, mono 16-bit blocks played in order.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

#include "audio_device.h"
#include "platform/unique_handle_win32.h"

namespace ostrel::orvatone {

// Closed last: the blocks must be unprepared before (Close does both, in that order).
struct WaveOutTraits {
  using Handle = HWAVEOUT;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { waveOutClose(h); }
};

// The driver only sets an event (CALLBACK_EVENT): a waveOut callback may not take locks or call
// waveOut, so the blocks it finished are found and reported on a thread of our own.
class WaveOutDevice final : public AudioDevice {
 public:
  WaveOutDevice() = default;
  ~WaveOutDevice() override;
  WaveOutDevice(const WaveOutDevice&) = delete;
  WaveOutDevice& operator=(const WaveOutDevice&) = delete;

  bool Open(int sampleRate, std::function<void()> blockDone) noexcept override;
  bool Write(std::vector<std::int16_t> block) noexcept override;
  void Pause() noexcept override;
  void Resume() noexcept override;
  void Reset() noexcept override;
  void Close() noexcept override;

 private:
  struct Block {
    WAVEHDR header{};
    std::vector<std::int16_t> samples;
    bool reported = false;
  };

  void WatchBlocks() noexcept;
  void ReportPlayedBlocks();
  void ReleasePlayedBlocks() noexcept;
  void SettlePlayedBlocks() noexcept;  // both of the above
  void DropQueuedBlocks() noexcept;
  void ForgetDroppedBlocks() noexcept;

  std::mutex mutex_;  // everything below; never held by the driver, which only sets `blockEvent_`
  UniqueHandle<WaveOutTraits> handle_;
  std::list<Block> blocks_;  // a list, so a header keeps its address while the device holds it
  std::function<void()> blockDone_;
  HANDLE blockEvent_ = nullptr;  // auto-reset; signalled by the driver, and by Close to end the watcher
  bool watcherEnds_ = false;
  std::thread watcher_;
};

}  // namespace ostrel::orvatone
