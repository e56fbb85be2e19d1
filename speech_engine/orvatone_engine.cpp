#include "orvatone_engine.h"

#include <atomic>
#include <optional>
#include <utility>
#include <vector>

#include "encoding/utf8.h"
#include "journal_entry.h"
#include "log_seam.h"
#include "parenthesis_rule.h"
#include "speech_player.h"
#include "user_dictionary.h"
#include "utterance_splitter.h"

namespace ostrel::orvatone {

namespace {

constexpr int kKorean = 4;

// Journals each utterance and reports the end of a text for one language.
class LanguagePlayerHost final : public PlayerHost {
 public:
  LanguagePlayerHost(EngineHost& host, int language) : host_(host), language_(language) {}

  void OnUtterance(std::u16string_view spokenText) noexcept override {
    try {
      std::string entry = JournalEntry("Utter", language_);
      entry += ' ';
      entry += HexOf(EncodeUtf8(spokenText));
      host_.Record(entry);
    } catch (...) {
      LogCaught("journalling an utterance");
    }
  }
  void OnSpoken(void* window) noexcept override {
    // A text that played tells the user again when the sound fails later on.
    if (!failedThisText_) failureTold_ = false;
    failedThisText_ = false;
    // Journalled first, so whoever reacts to the message already finds the line.
    try {
      host_.Record(JournalEntry("Done", language_));
    } catch (...) {
      LogCaught("journalling the end of a text");
    }
    host_.PostSpoken(window);
  }
  void OnThreadStarted() noexcept override { threadStarted_ = host_.OnPlayerThreadStarted(); }
  void OnThreadEnding() noexcept override { host_.OnPlayerThreadEnding(threadStarted_); }
  void OnDeviceFailure() noexcept override {
    failedThisText_ = true;
    if (failureTold_) return;
    failureTold_ = true;
    host_.TellDeviceFailure(window_.load(), language_);
  }

  // The language's voice was replaced for the rest of the session: the journal names the voice
  // that reads now, and the user learns of it once for each replacement.
  void OnVoiceReplaced(const VoiceOption& failed, const VoiceOption* reading) noexcept {
    try {
      std::string entry = JournalEntry("Voice", language_);
      entry += reading != nullptr ? ' ' + reading->synthesiserName + ' ' + reading->voiceName : " none";
      host_.Record(entry);
      host_.TellVoiceReplaced(window_.load(), language_, ShownName(failed),
                              reading != nullptr ? ShownName(*reading) : std::string());
    } catch (...) {
      LogCaught("reporting a replaced voice");
    }
  }

  void SetWindow(void* window) { window_.store(window); }

 private:
  // espeak-ng's voices are named by language ("ja+mecab"), which says nothing to a user on its own.
  static std::string ShownName(const VoiceOption& voice) {
    return voice.synthesiserName == "espeak-ng" ? voice.synthesiserName + " " + voice.voiceName : voice.voiceName;
  }

  EngineHost& host_;
  int language_;
  std::atomic<void*> window_{nullptr};
  // All on the player's thread only.
  bool threadStarted_ = false;
  bool failedThisText_ = false;
  bool failureTold_ = false;
};

}  // namespace

// A language that speaks through a real voice, or that has none.
struct OrvatoneEngine::Spoken {
  Spoken(EngineHost& host, int language, std::optional<LanguageVoice> found)
      : playerHost(host, language), voice(std::move(found)) {
    if (!voice) return;
    std::vector<VoiceOption> voices;
    voices.push_back({voice->synthesiserName, voice->voiceName, std::move(voice->synthesiser)});
    for (VoiceOption& fallback : voice->fallbacks) voices.push_back(std::move(fallback));
    voice->fallbacks.clear();
    synthesiser = std::make_unique<FailoverSynthesiser>(
        std::move(voices),
        [this](const VoiceOption& failed, const VoiceOption* reading) { playerHost.OnVoiceReplaced(failed, reading); });
    player = std::make_unique<SpeechPlayer>(*synthesiser, *voice->device, playerHost);
  }
  ~Spoken() { player.reset(); }  // the player's thread ends before the voice it uses

  LanguagePlayerHost playerHost;
  std::optional<LanguageVoice> voice;
  std::unique_ptr<FailoverSynthesiser> synthesiser;  // the voice and those that stand in for it
  std::unique_ptr<SpeechPlayer> player;
  std::shared_ptr<const UserDictionary> dictionary = std::make_shared<UserDictionary>();
  bool noVoiceTold = false;
};

OrvatoneEngine::OrvatoneEngine(EngineHost& host) : host_(host), simulated_(host) {}

OrvatoneEngine::~OrvatoneEngine() {
  for (int language = 1; language <= kLanguageCount; ++language) {
    try {
      CloseLanguage(language);
    } catch (...) {
      LogCaught("closing a language at the end");
    }
  }
}

OrvatoneEngine::Spoken* OrvatoneEngine::RealLanguage(int language) {
  return IsLanguage(language) ? spoken_[language - 1].get() : nullptr;
}

int OrvatoneEngine::StartLanguage(int language, const std::array<int*, kRangeReportSize>& report) {
  std::lock_guard lock(mutex_);
  const bool started = RealLanguage(language) != nullptr;
  if (!started && (!IsLanguage(language) || host_.FixedSpeechLength())) {
    return simulated_.StartLanguage(language, report);
  }
  std::string entry = JournalEntry("StartLanguage", language);
  for (std::size_t i = 0; i < kRangeReportSize; ++i) {
    if (report[i] != nullptr) *report[i] = kRangeReport[i];
    AppendNumber(entry, kRangeReport[i]);
  }
  host_.Record(entry);
  if (started) return kEngineOk;  // started again: the ranges once more, the voice as it is

  auto spoken = std::make_unique<Spoken>(host_, language, host_.OpenVoice(language));
  std::string voiceEntry = JournalEntry("Voice", language);
  voiceEntry += spoken->voice ? ' ' + spoken->voice->synthesiserName + ' ' + spoken->voice->voiceName : " none";
  host_.Record(voiceEntry);
  LoadDictionary(language, *spoken);
  spoken_[language - 1] = std::move(spoken);
  return kEngineOk;
}

void OrvatoneEngine::LoadDictionary(int language, Spoken& spoken) {
  const std::string& path = dictionaryPaths_[language - 1];
  auto dictionary = std::make_shared<UserDictionary>();
  if (!path.empty()) {
    if (const auto bytes = host_.ReadDictionaryFile(path)) {
      *dictionary = UserDictionary::Parse(*bytes, [this, language](std::string_view text) {
        return host_.DecodeText(language, text);
      });
    }
  }
  // Only a dictionary with lines it could not use is journalled: the one place a user can see why
  // an entry has no effect.
  if (dictionary->MalformedLines() > 0) {
    std::string entry = JournalEntry("Dictionary", language);
    AppendNumber(entry, static_cast<long long>(dictionary->Entries().size()));
    AppendNumber(entry, static_cast<long long>(dictionary->MalformedLines()));
    host_.Record(entry);
  }
  spoken.dictionary = std::move(dictionary);
}

int OrvatoneEngine::Speak(void* window, int language, std::string_view text, const VoiceValues& voice) {
  std::unique_lock lock(mutex_);
  Spoken* spoken = RealLanguage(language);
  if (spoken == nullptr) {
    lock.unlock();
    return simulated_.Speak(window, language, text, voice);
  }
  std::string entry = JournalEntry("Speak", language);
  for (const int value : {voice.pitch, voice.speed, voice.volume, voice.pause, voice.commapause, voice.extra}) {
    AppendNumber(entry, value);
  }
  entry += ' ';
  entry += HexOf(text);
  host_.Record(entry);

  if (!spoken->player) {
    // Nothing can speak: the reading ends at once, and the user learns why once.
    spoken->playerHost.OnSpoken(window);
    const bool tell = !spoken->noVoiceTold;
    spoken->noVoiceTold = true;
    lock.unlock();
    if (tell) host_.TellNoVoice(window, language);
    return kEngineOk;
  }

  SpeechOrder order;
  order.window = window;
  order.prosody = {voice.speed, voice.pitch};
  order.volume = voice.volume;
  order.pauseMs = voice.pause;
  order.commaPauseMs = voice.commapause;
  // The text is turned into utterances on the player's thread, so a long text never holds up
  // the caller; the copy outlives the caller's buffer.
  order.utterances = [this, language, bytes = std::string(text), dictionary = spoken->dictionary,
                      extra = voice.extra]() {
    std::u16string unicode = dictionary->Apply(host_.DecodeText(language, bytes));
    if (language == kKorean) unicode = ApplyParenthesisRule(unicode, extra);
    return SplitUtterances(unicode);
  };
  spoken->playerHost.SetWindow(window);
  spoken->player->Speak(std::move(order));
  return kEngineOk;
}

int OrvatoneEngine::Control(std::string_view operation, int language, int (SimulatedEngine::*simulated)(int),
                            void (SpeechPlayer::*play)()) {
  std::unique_lock lock(mutex_);
  Spoken* spoken = RealLanguage(language);
  if (spoken == nullptr) {
    lock.unlock();
    return (simulated_.*simulated)(language);
  }
  host_.Record(JournalEntry(operation, language));
  if (spoken->player) (spoken->player.get()->*play)();
  return kEngineOk;
}

int OrvatoneEngine::Stop(int language) { return Control("Stop", language, &SimulatedEngine::Stop, &SpeechPlayer::Stop); }

int OrvatoneEngine::Pause(int language) {
  return Control("Pause", language, &SimulatedEngine::Pause, &SpeechPlayer::Pause);
}

int OrvatoneEngine::Resume(int language) {
  return Control("Resume", language, &SimulatedEngine::Resume, &SpeechPlayer::Resume);
}

int OrvatoneEngine::SetUserDictionary(int language, std::string_view path) {
  // The simulated engine keeps the journal line for both kinds of language.
  const int result = simulated_.SetUserDictionary(language, path);
  if (!IsLanguage(language)) return result;
  std::lock_guard lock(mutex_);
  dictionaryPaths_[language - 1] = std::string(path);
  // A dictionary chosen while the language speaks applies from the next text on.
  if (Spoken* spoken = RealLanguage(language)) LoadDictionary(language, *spoken);
  return result;
}

int OrvatoneEngine::CloseLanguage(int language) {
  std::unique_ptr<Spoken> spoken;
  {
    std::lock_guard lock(mutex_);
    if (RealLanguage(language) != nullptr) {
      host_.Record(JournalEntry("CloseLanguage", language));
      spoken = std::move(spoken_[language - 1]);
    }
  }
  if (!spoken) return simulated_.CloseLanguage(language);
  // Ends the player's thread and frees the device outside the lock: the thread may be journalling.
  spoken.reset();
  return kEngineOk;
}

}  // namespace ostrel::orvatone
