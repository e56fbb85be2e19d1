// The engine's platform: the journal file, PostMessageW for the end of a text, the
// ORVATONE_SPEAK_MS override, a reference on this module for every running worker, code pages,
// dictionary files, the installed voices and the message boxes.
#pragma once

#include "engine_host.h"
#include "journal_win32.h"
#include "notices_win32.h"

namespace ostrel::orvatone {

inline constexpr unsigned kEngineDoneMessage = 0x602;

class Win32EngineHost final : public EngineHost {
 public:
  void Record(std::string_view entry) noexcept override { journal_.Append(entry); }
  void PostSpoken(void* window) noexcept override;
  std::optional<std::chrono::milliseconds> FixedSpeechLength() noexcept override;
  void OnWorkerStarted() noexcept override;
  void OnWorkerEnded() noexcept override;
  bool OnPlayerThreadStarted() noexcept override;
  void OnPlayerThreadEnding(bool started) noexcept override;

  std::u16string DecodeText(int language, std::string_view bytes) noexcept override;
  std::optional<std::string> ReadDictionaryFile(std::string_view path) noexcept override;
  std::optional<LanguageVoice> OpenVoice(int language) noexcept override;
  void TellNoVoice(void* window, int language) noexcept override;
  void TellDeviceFailure(void* window, int language) noexcept override;
  void TellVoiceReplaced(void* window, int language, std::string_view failedVoice,
                         std::string_view readingVoice) noexcept override;

 private:
  Journal journal_;
  Notices notices_;
};

}  // namespace ostrel::orvatone
