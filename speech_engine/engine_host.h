// What the engine needs from its platform: a journal, a way to tell a window that a text has
// been spoken, the fixed speech length set from outside, a hold on the module while a worker
// thread runs its code, and for real speech the code pages, files, voices, sound and the user.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio_device.h"
#include "failover_synthesiser.h"
#include "synthesiser.h"

namespace ostrel::orvatone {

// A language's voice and the sound output it plays through.
struct LanguageVoice {
  std::string synthesiserName;  // "SAPI", "SAPI-OneCore", "espeak-ng" (the journal's Voice line)
  std::string voiceName;        // UTF-8
  std::unique_ptr<Synthesiser> synthesiser;
  std::unique_ptr<AudioDevice> device;
  // The language's other voices, best first: each reads in turn when the one before it fails.
  std::vector<VoiceOption> fallbacks;
};

class EngineHost {
 public:
  virtual ~EngineHost() = default;

  // One journal entry without the tick count and the line end.
  virtual void Record(std::string_view entry) noexcept = 0;
  virtual void PostSpoken(void* window) noexcept = 0;
  // Set: every language started from now on is the silent simulated one, and this is the length
  // of its every speech. Read at every Speak so that a test can change it between speeches.
  virtual std::optional<std::chrono::milliseconds> FixedSpeechLength() noexcept = 0;
  virtual void OnWorkerStarted() noexcept = 0;
  virtual void OnWorkerEnded() noexcept = 0;
  // First and last on each player's thread (COM on Windows); the second is given what the first
  // returned.
  virtual bool OnPlayerThreadStarted() noexcept = 0;
  virtual void OnPlayerThreadEnding(bool started) noexcept = 0;

  // Text in the language's code page (932, 936, 1252, 949) as UTF-16. Any thread.
  virtual std::u16string DecodeText(int language, std::string_view bytes) noexcept = 0;
  // The bytes of the file a path in code page 932 names; nothing when it cannot be read.
  virtual std::optional<std::string> ReadDictionaryFile(std::string_view path) noexcept = 0;
  // The best installed voice for the language with a sound output, or nothing.
  virtual std::optional<LanguageVoice> OpenVoice(int language) noexcept = 0;
  // The user is told that the language has no voice and how to install one.
  virtual void TellNoVoice(void* window, int language) noexcept = 0;
  // The user is told that the sound could not be played. Any thread.
  virtual void TellDeviceFailure(void* window, int language) noexcept = 0;
  // The user is told that a voice failed and which one reads from now on (empty: none is left).
  // Names in UTF-8. Any thread.
  virtual void TellVoiceReplaced(void* window, int language, std::string_view failedVoice,
                                 std::string_view readingVoice) noexcept = 0;
};

}  // namespace ostrel::orvatone
