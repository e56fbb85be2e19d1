// The sound card through waveOut: the default output device, mono 16-bit blocks played in order.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
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
  };

  static void CALLBACK OnDeviceMessage(HWAVEOUT device, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR);
  void ReleasePlayedBlocks();

  std::mutex mutex_;  // the handle and the blocks; never held by the device's callback
  UniqueHandle<WaveOutTraits> handle_;
  std::list<Block> blocks_;  // a list, so a header keeps its address while the device holds it
  std::function<void()> blockDone_;
};

}  // namespace ostrel::orvatone
