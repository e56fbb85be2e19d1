// The engine's platform: the journal file, PostMessageW for the end of a text, the
// ORVATONE_SPEAK_MS override, and a reference on this module for every running worker.
#pragma once

#include "engine_host.h"
#include "journal_win32.h"

namespace ostrel::orvatone {

inline constexpr unsigned kEngineDoneMessage = 0x602;

class Win32EngineHost final : public EngineHost {
 public:
  void Record(std::string_view entry) noexcept override { journal_.Append(entry); }
  void PostSpoken(void* window) noexcept override;
  std::optional<std::chrono::milliseconds> FixedSpeechLength() noexcept override;
  void OnWorkerStarted() noexcept override;
  void OnWorkerEnded() noexcept override;

 private:
  Journal journal_;
};

}  // namespace ostrel::orvatone
