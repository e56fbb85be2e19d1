#include "wave_out_device_win32.h"

#include <string>
#include <utility>

#include "encoding/utf8.h"
#include "engine_log_win32.h"
#include "log_seam.h"

namespace ostrel::orvatone {

namespace {

// "waveOutOpen: MMRESULT 2 (...)": the driver's own words.
void LogMmResult(const char* what, MMRESULT result) noexcept {
  try {
    std::string message = std::string(what) + ": MMRESULT " + std::to_string(result);
    wchar_t words[MAXERRORLENGTH] = {};
    if (waveOutGetErrorTextW(result, words, MAXERRORLENGTH) == MMSYSERR_NOERROR) {
      const std::wstring_view view(words);
      message += " (" + EncodeUtf8(std::u16string(view.begin(), view.end())) + ")";
    }
    Log(LogLevel::kError, message);
  } catch (...) {
    Log(LogLevel::kError, what);
  }
}

}  // namespace

WaveOutDevice::~WaveOutDevice() { Close(); }

bool WaveOutDevice::Open(int sampleRate, std::function<void()> blockDone) noexcept {
  std::lock_guard lock(mutex_);
  if (handle_ || sampleRate <= 0) return false;
  blockEvent_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (blockEvent_ == nullptr) {
    LogFailure("CreateEventW for the sound device", GetLastError());
    return false;
  }
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = static_cast<DWORD>(sampleRate);
  format.wBitsPerSample = 16;
  format.nBlockAlign = 2;
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  // WAVE_MAPPER at every open: a device opened again after a failure is the current default one.
  const MMRESULT opened = waveOutOpen(handle_.put(), WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(blockEvent_), 0,
                                      CALLBACK_EVENT);
  if (opened != MMSYSERR_NOERROR) {
    LogMmResult("waveOutOpen", opened);
    handle_.release();  // not a device: nothing to close
    CloseHandle(blockEvent_);
    blockEvent_ = nullptr;
    return false;
  }
  try {
    blockDone_ = std::move(blockDone);
    watcherEnds_ = false;
    watcher_ = std::thread([this] { WatchBlocks(); });
  } catch (...) {
    LogCaught("starting the sound device's thread");
    handle_.reset();
    CloseHandle(blockEvent_);
    blockEvent_ = nullptr;
    blockDone_ = nullptr;
    return false;
  }
  return true;
}

void WaveOutDevice::WatchBlocks() noexcept {
  for (;;) {
    if (WaitForSingleObject(blockEvent_, INFINITE) != WAIT_OBJECT_0) {
      LogFailure("waiting for the sound device", GetLastError());
      return;
    }
    std::lock_guard lock(mutex_);
    if (watcherEnds_) return;
    SettlePlayedBlocks();
  }
}

void WaveOutDevice::SettlePlayedBlocks() noexcept {
  try {
    ReportPlayedBlocks();
    ReleasePlayedBlocks();
  } catch (...) {
    LogCaught("reporting played blocks");
  }
}

// The event only says that something happened: one signal may stand for several blocks, so the
// headers themselves say which are done.
void WaveOutDevice::ReportPlayedBlocks() {
  for (Block& block : blocks_) {
    if (block.reported || (block.header.dwFlags & WHDR_DONE) == 0) continue;
    block.reported = true;
    if (blockDone_) blockDone_();
  }
}

void WaveOutDevice::ReleasePlayedBlocks() noexcept {
  for (auto it = blocks_.begin(); it != blocks_.end();) {
    if (!it->reported) {
      ++it;
      continue;
    }
    waveOutUnprepareHeader(handle_.get(), &it->header, sizeof(WAVEHDR));
    it = blocks_.erase(it);
  }
}

bool WaveOutDevice::Write(std::vector<std::int16_t> samples) noexcept {
  try {
    std::lock_guard lock(mutex_);
    if (!handle_ || samples.empty() || samples.size() > MAXDWORD / sizeof(std::int16_t)) return false;
    ReleasePlayedBlocks();
    Block& block = blocks_.emplace_back();
    block.samples = std::move(samples);
    block.header.lpData = reinterpret_cast<LPSTR>(block.samples.data());
    block.header.dwBufferLength = static_cast<DWORD>(block.samples.size() * sizeof(std::int16_t));
    if (const MMRESULT prepared = waveOutPrepareHeader(handle_.get(), &block.header, sizeof(WAVEHDR));
        prepared != MMSYSERR_NOERROR) {
      LogMmResult("waveOutPrepareHeader", prepared);
      blocks_.pop_back();
      return false;
    }
    if (const MMRESULT written = waveOutWrite(handle_.get(), &block.header, sizeof(WAVEHDR));
        written != MMSYSERR_NOERROR) {
      LogMmResult("waveOutWrite", written);
      waveOutUnprepareHeader(handle_.get(), &block.header, sizeof(WAVEHDR));
      blocks_.pop_back();
      return false;
    }
    return true;
  } catch (...) {
    LogCaught("queueing a block of sound");
    return false;
  }
}

void WaveOutDevice::Pause() noexcept {
  std::lock_guard lock(mutex_);
  if (handle_) waveOutPause(handle_.get());
}

void WaveOutDevice::Resume() noexcept {
  std::lock_guard lock(mutex_);
  if (handle_) waveOutRestart(handle_.get());
}

void WaveOutDevice::Reset() noexcept {
  std::lock_guard lock(mutex_);
  if (!handle_) return;
  DropQueuedBlocks();
}

// What the device finished before the reset was heard; waveOutReset marks the rest done as well,
// and those are dropped unreported.
void WaveOutDevice::DropQueuedBlocks() noexcept {
  SettlePlayedBlocks();
  waveOutReset(handle_.get());
  ForgetDroppedBlocks();
}

void WaveOutDevice::ForgetDroppedBlocks() noexcept {
  for (Block& block : blocks_) {
    if ((block.header.dwFlags & WHDR_DONE) != 0) block.reported = true;
  }
  ReleasePlayedBlocks();
}

void WaveOutDevice::Close() noexcept {
  {
    std::lock_guard lock(mutex_);
    if (!handle_) return;
    DropQueuedBlocks();
    // A driver that never marked a block done still owns its header; waiting briefly lets it let go.
    for (int tries = 0; !blocks_.empty() && tries < 50; ++tries) {
      Sleep(10);
      ForgetDroppedBlocks();
    }
    // Leaked rather than freed under a driver that may still write to them.
    try {
      if (!blocks_.empty()) new std::list<Block>(std::move(blocks_));
    } catch (...) {
      LogCaught("keeping the blocks a driver still holds");
    }
    blocks_.clear();
    handle_.reset();
    blockDone_ = nullptr;
    watcherEnds_ = true;
  }
  // Outside the lock: the watcher takes it to see that it ends.
  SetEvent(blockEvent_);
  if (watcher_.joinable()) watcher_.join();
  CloseHandle(blockEvent_);
  blockEvent_ = nullptr;
}

}  // namespace ostrel::orvatone
