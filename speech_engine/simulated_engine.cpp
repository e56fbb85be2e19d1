#include "simulated_engine.h"

#include <algorithm>
#include <utility>

#include "journal_entry.h"
#include "log_seam.h"

namespace ostrel::orvatone {

std::chrono::milliseconds SpeechLength(std::size_t textBytes, int speed) {
  const long long perHundred = static_cast<long long>(textBytes) * 60 * 100;
  return std::chrono::milliseconds(std::max(perHundred / std::max(speed, 1), 200LL));
}

SimulatedEngine::SimulatedEngine(EngineHost& host) : host_(host) {}

SimulatedEngine::~SimulatedEngine() {
  for (int language = 1; language <= kLanguageCount; ++language) {
    try {
      CloseLanguage(language);
    } catch (...) {
      LogCaught("closing a simulated language at the end");
    }
  }
}

SimulatedEngine::Voice* SimulatedEngine::StartedVoice(int language) {
  return IsLanguage(language) ? voices_[language - 1].get() : nullptr;
}

int SimulatedEngine::StartLanguage(int language, const std::array<int*, kRangeReportSize>& report) {
  std::string entry = JournalEntry("StartLanguage", language);
  std::lock_guard lock(mutex_);
  if (!IsLanguage(language)) {
    host_.Record(entry);
    return kEngineUnknownLanguage;
  }
  auto& slot = voices_[language - 1];
  if (!slot) {
    try {
      auto voice = std::make_unique<Voice>();
      host_.OnWorkerStarted();
      try {
        voice->worker = std::thread(&SimulatedEngine::RunVoice, this, language, std::ref(*voice));
      } catch (...) {
        LogCaught("starting a simulated voice's thread");
        host_.OnWorkerEnded();
        throw;
      }
      slot = std::move(voice);
    } catch (...) {
      LogCaught("starting a simulated language");
      host_.Record(entry);
      return kEngineFailed;
    }
  }
  for (std::size_t i = 0; i < kRangeReportSize; ++i) {
    if (report[i] != nullptr) *report[i] = kRangeReport[i];
    AppendNumber(entry, kRangeReport[i]);
  }
  host_.Record(entry);
  return kEngineOk;
}

int SimulatedEngine::Speak(void* window, int language, std::string_view text, const VoiceValues& voiceValues) {
  // Everything that allocates or reads the environment happens before the lock.
  std::string entry = JournalEntry("Speak", language);
  for (const int value : {voiceValues.pitch, voiceValues.speed, voiceValues.volume, voiceValues.pause,
                          voiceValues.commapause, voiceValues.extra}) {
    AppendNumber(entry, value);
  }
  // The separator stays even for an empty text, so every Speak line has the same number of fields.
  entry += ' ';
  entry += HexOf(text);
  std::string copy(text);
  const auto length = host_.FixedSpeechLength().value_or(SpeechLength(text.size(), voiceValues.speed));

  std::lock_guard lock(mutex_);
  host_.Record(entry);
  Voice* voice = StartedVoice(language);
  if (voice == nullptr) return IsLanguage(language) ? kEngineLanguageNotStarted : kEngineUnknownLanguage;
  // A running or paused speech is simply replaced: its end is never reported.
  voice->window = window;
  voice->text = std::move(copy);
  voice->remaining = length;
  voice->runningSince = Clock::now();
  voice->state = SpeechState::kSpeaking;
  voice->wake.notify_one();
  return kEngineOk;
}

int SimulatedEngine::Control(std::string_view operation, int language, void (*change)(Voice&)) {
  const std::string entry = JournalEntry(operation, language);
  std::lock_guard lock(mutex_);
  host_.Record(entry);
  Voice* voice = StartedVoice(language);
  if (voice == nullptr) return IsLanguage(language) ? kEngineLanguageNotStarted : kEngineUnknownLanguage;
  change(*voice);
  voice->wake.notify_one();
  return kEngineOk;
}

int SimulatedEngine::Stop(int language) {
  return Control("Stop", language, [](Voice& voice) {
    voice.state = SpeechState::kIdle;
    voice.text.clear();
  });
}

int SimulatedEngine::Pause(int language) {
  return Control("Pause", language, [](Voice& voice) {
    if (voice.state != SpeechState::kSpeaking) return;
    voice.remaining -= std::min(voice.remaining, Clock::now() - voice.runningSince);
    voice.state = SpeechState::kPaused;
  });
}

int SimulatedEngine::Resume(int language) {
  return Control("Resume", language, [](Voice& voice) {
    if (voice.state != SpeechState::kPaused) return;
    voice.runningSince = Clock::now();
    voice.state = SpeechState::kSpeaking;
  });
}

int SimulatedEngine::SetUserDictionary(int language, std::string_view path) {
  // Accepted before the language starts: the program names the dictionary first.
  std::string entry = JournalEntry("SetUserDictionary", language);
  entry += ' ';
  entry += HexOf(path);
  std::string copy(path);
  std::lock_guard lock(mutex_);
  host_.Record(entry);
  if (!IsLanguage(language)) return kEngineUnknownLanguage;
  dictionaries_[language - 1] = std::move(copy);
  return kEngineOk;
}

int SimulatedEngine::CloseLanguage(int language) {
  const std::string entry = JournalEntry("CloseLanguage", language);
  std::unique_ptr<Voice> voice;
  {
    std::lock_guard lock(mutex_);
    host_.Record(entry);
    if (!IsLanguage(language)) return kEngineUnknownLanguage;
    voice = std::move(voices_[language - 1]);
    if (!voice) return kEngineLanguageNotStarted;
    voice->closing = true;
    voice->state = SpeechState::kIdle;
    voice->wake.notify_one();
  }
  // The worker only waits on its condition, so it ends as soon as it gets the lock.
  voice->worker.join();
  host_.OnWorkerEnded();
  return kEngineOk;
}

void SimulatedEngine::RunVoice(int language, Voice& voice) noexcept {
  try {
    const std::string doneEntry = JournalEntry("Done", language);
    std::unique_lock lock(mutex_);
    while (!voice.closing) {
      if (voice.state != SpeechState::kSpeaking) {
        voice.wake.wait(lock);
        continue;
      }
      const auto end = voice.runningSince + voice.remaining;
      if (Clock::now() < end) {
        voice.wake.wait_until(lock, end);
        continue;
      }
      // Posted under the lock: once Stop or a new Speak returns, no end of the old text can follow.
      // Journalled first, so whoever reacts to the message already finds the line.
      voice.state = SpeechState::kIdle;
      voice.text.clear();
      host_.Record(doneEntry);
      host_.PostSpoken(voice.window);
    }
  } catch (...) {
    // Nothing may leave a worker thread; a language whose worker failed just stays silent.
    LogCaught("simulated voice's thread");
  }
}

}  // namespace ostrel::orvatone
