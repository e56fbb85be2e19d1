// The engine's seven operations over a fake platform: which languages are simulated and which
// speak, the journal lines outside tests read, the dictionary and the Korean rule on the way
// to the synthesiser, and a language without any voice.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "encoding/utf8.h"
#include "journal_entry.h"
#include "orvatone_engine.h"

namespace ostrel::orvatone {
namespace {

using namespace std::chrono_literals;

// Every utterance becomes 10 ms of a constant tone.
class ToneSynthesiser final : public Synthesiser {
 public:
  bool Render(std::u16string_view text, const Prosody&, const std::function<bool()>&, Rendering& out) noexcept override {
    out.spokenText = std::u16string(text);
    out.pcm.sampleRate = 8000;
    out.pcm.samples.assign(80, 8000);
    return true;
  }
};

// A voice that says who read each utterance ("name:text"), and that fails from its `failFrom`th
// rendering on (1: it cannot even be created). Counts over the whole session, as a broken voice stays
// broken.
class ScriptedSynthesiser final : public Synthesiser {
 public:
  ScriptedSynthesiser(std::string name, int failFrom) : name_(std::move(name)), failFrom_(failFrom) {}
  bool Render(std::u16string_view text, const Prosody&, const std::function<bool()>&, Rendering& out) noexcept override {
    ++renders;
    out.spokenText = std::u16string(name_.begin(), name_.end()) + u":" + std::u16string(text);
    if (failFrom_ > 0 && renders >= failFrom_) return false;
    out.pcm.sampleRate = 8000;
    out.pcm.samples.assign(80, 8000);
    return true;
  }
  std::atomic<int> renders{0};

 private:
  std::string name_;
  int failFrom_;
};

// Plays every block at once on a thread of its own.
class InstantDevice final : public AudioDevice {
 public:
  ~InstantDevice() override { Close(); }
  bool Open(int, std::function<void()> blockDone) noexcept override {
    std::lock_guard lock(mutex_);
    blockDone_ = std::move(blockDone);
    closing_ = false;
    player_ = std::thread([this] { Play(); });
    return true;
  }
  bool Write(std::vector<std::int16_t>) noexcept override {
    std::lock_guard lock(mutex_);
    ++queued_;
    wake_.notify_one();
    return true;
  }
  void Pause() noexcept override {}
  void Resume() noexcept override {}
  void Reset() noexcept override {
    std::lock_guard lock(mutex_);
    queued_ = 0;
  }
  void Close() noexcept override {
    Reset();
    {
      std::lock_guard lock(mutex_);
      closing_ = true;
      wake_.notify_one();
    }
    if (player_.joinable()) player_.join();
  }

 private:
  void Play() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return closing_ || queued_ > 0; });
      if (closing_) return;
      --queued_;
      lock.unlock();
      blockDone_();
      lock.lock();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::function<void()> blockDone_;
  int queued_ = 0;
  bool closing_ = false;
  std::thread player_;
};

class FakeHost final : public EngineHost {
 public:
  void Record(std::string_view entry) noexcept override {
    std::lock_guard lock(mutex_);
    journal_.emplace_back(entry);
  }
  void PostSpoken(void* window) noexcept override {
    std::lock_guard lock(mutex_);
    spoken_.push_back(window);
    changed_.notify_all();
  }
  std::optional<std::chrono::milliseconds> FixedSpeechLength() noexcept override { return fixedLength; }
  void OnWorkerStarted() noexcept override {}
  void OnWorkerEnded() noexcept override {}
  bool OnPlayerThreadStarted() noexcept override { return true; }
  void OnPlayerThreadEnding(bool) noexcept override {}
  // Latin-1 stands in for every code page.
  std::u16string DecodeText(int, std::string_view bytes) noexcept override {
    return std::u16string(bytes.begin(), bytes.end());
  }
  std::optional<std::string> ReadDictionaryFile(std::string_view path) noexcept override {
    const auto found = files.find(std::string(path));
    if (found == files.end()) return std::nullopt;
    return found->second;
  }
  std::optional<LanguageVoice> OpenVoice(int language) noexcept override {
    if (!hasVoice) return std::nullopt;
    LanguageVoice voice;
    voice.device = std::make_unique<InstantDevice>();
    if (!scripted.empty()) {
      for (std::size_t i = 0; i < scripted.size(); ++i) {
        auto synthesiser = std::make_unique<ScriptedSynthesiser>(scripted[i].first, scripted[i].second);
        made.push_back(synthesiser.get());
        if (i == 0) {
          voice.synthesiserName = "scripted";
          voice.voiceName = scripted[i].first;
          voice.synthesiser = std::move(synthesiser);
        } else {
          voice.fallbacks.push_back({"scripted", scripted[i].first, std::move(synthesiser)});
        }
      }
      return voice;
    }
    voice.synthesiserName = "tone";
    voice.voiceName = "voice " + std::to_string(language);
    voice.synthesiser = std::make_unique<ToneSynthesiser>();
    return voice;
  }
  void TellNoVoice(void*, int language) noexcept override { toldNoVoice.push_back(language); }
  void TellDeviceFailure(void*, int) noexcept override {}
  void TellVoiceReplaced(void* window, int language, std::string_view failedVoice,
                         std::string_view readingVoice) noexcept override {
    std::lock_guard lock(mutex_);
    toldReplaced.push_back(std::to_string(language) + " " + std::string(failedVoice) + " -> " +
                           std::string(readingVoice) + (window != nullptr ? "" : " (no window)"));
  }
  std::vector<std::string> ToldReplaced() {
    std::lock_guard lock(mutex_);
    return toldReplaced;
  }

  std::vector<std::string> Journal() {
    std::lock_guard lock(mutex_);
    return journal_;
  }
  std::vector<std::string> Entries(std::string_view operation) {
    std::vector<std::string> found;
    for (const std::string& line : Journal()) {
      if (line.rfind(std::string(operation) + ' ', 0) == 0) found.push_back(line);
    }
    return found;
  }
  bool WaitForSpoken(std::size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, 10s, [&] { return spoken_.size() >= count; });
  }
  std::size_t Spoken() {
    std::lock_guard lock(mutex_);
    return spoken_.size();
  }

  std::optional<std::chrono::milliseconds> fixedLength;
  bool hasVoice = true;
  std::map<std::string, std::string> files;
  std::vector<int> toldNoVoice;
  // The language's voices, best first: name, and the rendering from which it fails (0: never).
  std::vector<std::pair<std::string, int>> scripted;
  std::vector<ScriptedSynthesiser*> made;

 private:
  std::vector<std::string> toldReplaced;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> journal_;
  std::vector<void*> spoken_;
};

std::string UtterEntry(int language, std::u16string_view text) {
  return JournalEntry("Utter", language) + ' ' + HexOf(EncodeUtf8(text));
}

class OrvatoneEngineTest : public ::testing::Test {
 protected:
  int Start(int language) {
    std::array<int, kRangeReportSize> values{};
    std::array<int*, kRangeReportSize> report{};
    for (std::size_t i = 0; i < report.size(); ++i) report[i] = &values[i];
    const int result = engine_.StartLanguage(language, report);
    reported_ = values;
    return result;
  }
  int Say(int language, std::string_view text, int extra = 0) {
    return engine_.Speak(window_, language, text, {100, 100, 100, 800, 300, extra});
  }

  FakeHost host_;
  OrvatoneEngine engine_{host_};
  std::array<int, kRangeReportSize> reported_{};
  void* window_ = reinterpret_cast<void*>(0x1234);
};

TEST_F(OrvatoneEngineTest, ARealLanguageReportsTheRangesAndNamesItsVoice) {
  ASSERT_EQ(Start(1), kEngineOk);
  EXPECT_EQ(reported_, kRangeReport);
  const auto journal = host_.Journal();
  ASSERT_EQ(journal.size(), 2U);
  EXPECT_EQ(journal[0], "StartLanguage 1 500 0 100 50 250 100 50 200 100 0 65535 800 0 65535 300");
  EXPECT_EQ(journal[1], "Voice 1 tone voice 1");
}

TEST_F(OrvatoneEngineTest, SpeaksEachUtteranceAndEndsTheTextOnce) {
  ASSERT_EQ(Start(3), kEngineOk);
  ASSERT_EQ(Say(3, "One. Two, three"), kEngineOk);
  ASSERT_TRUE(host_.WaitForSpoken(1));
  EXPECT_EQ(host_.Entries("Utter"),
            (std::vector<std::string>{UtterEntry(3, u"One."), UtterEntry(3, u"Two,"), UtterEntry(3, u"three")}));
  EXPECT_EQ(host_.Entries("Speak").at(0), "Speak 3 100 100 100 800 300 0 4F6E652E2054776F2C207468726565");
  engine_.CloseLanguage(3);
  EXPECT_EQ(host_.Spoken(), 1U);
  const auto journal = host_.Journal();
  EXPECT_EQ(std::count(journal.begin(), journal.end(), "Done 3"), 1);
  EXPECT_EQ(journal.back(), "CloseLanguage 3");
}

TEST_F(OrvatoneEngineTest, WithAFixedSpeechLengthEveryLanguageStartedIsSimulated) {
  host_.fixedLength = 20ms;
  ASSERT_EQ(Start(2), kEngineOk);
  ASSERT_EQ(Say(2, "abc"), kEngineOk);
  ASSERT_TRUE(host_.WaitForSpoken(1));
  EXPECT_TRUE(host_.Entries("Voice").empty());
  EXPECT_TRUE(host_.Entries("Utter").empty());
  EXPECT_EQ(host_.Entries("Done"), std::vector<std::string>{"Done 2"});
}

TEST_F(OrvatoneEngineTest, TheDictionaryAndTheKoreanRuleShapeWhatTheVoiceIsGiven) {
  host_.files["C:\\dic\\ko.csv"] = "# ours\nabc,xyz\nbroken line without a comma\n";
  engine_.SetUserDictionary(4, "C:\\dic\\ko.csv");
  ASSERT_EQ(Start(4), kEngineOk);
  EXPECT_EQ(host_.Entries("Dictionary"), std::vector<std::string>{"Dictionary 4 1 1"});
  ASSERT_EQ(Say(4, "abc (no) (long enough)", 4), kEngineOk);
  ASSERT_TRUE(host_.WaitForSpoken(1));
  EXPECT_EQ(host_.Entries("Utter"), std::vector<std::string>{UtterEntry(4, u"xyz  (long enough)")});
  EXPECT_EQ(host_.Entries("SetUserDictionary"),
            std::vector<std::string>{"SetUserDictionary 4 " + HexOf("C:\\dic\\ko.csv")});
}

TEST_F(OrvatoneEngineTest, AMissingDictionaryFileMeansNoneAndAGoodOneNoJournalLine) {
  host_.files["C:\\good.csv"] = "abc,xyz\n";
  engine_.SetUserDictionary(2, "C:\\good.csv");
  ASSERT_EQ(Start(2), kEngineOk);
  engine_.SetUserDictionary(1, "C:\\nowhere.csv");
  ASSERT_EQ(Start(1), kEngineOk);
  // Only a dictionary with lines it skipped shows in the journal.
  EXPECT_TRUE(host_.Entries("Dictionary").empty());
  ASSERT_EQ(Say(1, "abc"), kEngineOk);
  ASSERT_TRUE(host_.WaitForSpoken(1));
  EXPECT_EQ(host_.Entries("Utter"), std::vector<std::string>{UtterEntry(1, u"abc")});
}

TEST_F(OrvatoneEngineTest, WithoutAVoiceTheTextEndsAtOnceAndTheUserIsToldOnce) {
  host_.hasVoice = false;
  ASSERT_EQ(Start(2), kEngineOk);
  EXPECT_EQ(reported_, kRangeReport);
  EXPECT_EQ(host_.Entries("Voice"), std::vector<std::string>{"Voice 2 none"});
  ASSERT_EQ(Say(2, "abc"), kEngineOk);
  ASSERT_EQ(Say(2, "def"), kEngineOk);
  EXPECT_EQ(host_.Spoken(), 2U);
  EXPECT_EQ(host_.toldNoVoice, std::vector<int>{2});
  EXPECT_EQ(host_.Entries("Done").size(), 2U);
}

TEST_F(OrvatoneEngineTest, AStoppedTextNeverEnds) {
  ASSERT_EQ(Start(3), kEngineOk);
  ASSERT_EQ(Say(3, "One. Two. Three. Four. Five. Six. Seven."), kEngineOk);
  ASSERT_EQ(engine_.Stop(3), kEngineOk);
  ASSERT_EQ(Say(3, "Eight."), kEngineOk);
  ASSERT_TRUE(host_.WaitForSpoken(1));
  engine_.CloseLanguage(3);
  EXPECT_EQ(host_.Spoken(), 1U);
  EXPECT_EQ(host_.Entries("Utter").back(), UtterEntry(3, u"Eight."));
}

TEST_F(OrvatoneEngineTest, OperationsOnLanguagesNeverStartedOrUnknownReportSo) {
  EXPECT_EQ(Say(3, "abc"), kEngineLanguageNotStarted);
  EXPECT_EQ(engine_.Stop(5), kEngineUnknownLanguage);
  EXPECT_EQ(Start(0), kEngineUnknownLanguage);
  ASSERT_EQ(Start(1), kEngineOk);
  EXPECT_EQ(engine_.CloseLanguage(1), kEngineOk);
  EXPECT_EQ(engine_.CloseLanguage(1), kEngineLanguageNotStarted);
  EXPECT_EQ(Say(1, "abc"), kEngineLanguageNotStarted);
}

TEST_F(OrvatoneEngineTest, AVoiceThatFailsIsReplacedForTheSessionFromTheUtteranceThatFailed) {
  host_.scripted = {{"best", 2}, {"next", 0}};
  ASSERT_EQ(Start(3), kEngineOk);
  ASSERT_EQ(Say(3, "One. Two. Three."), kEngineOk);
  ASSERT_TRUE(host_.WaitForSpoken(1));
  EXPECT_EQ(host_.Entries("Utter"), (std::vector<std::string>{UtterEntry(3, u"best:One."), UtterEntry(3, u"next:Two."),
                                                               UtterEntry(3, u"next:Three.")}));
  // The last Voice line names the voice that reads; the user hears of it once, with the window.
  EXPECT_EQ(host_.Entries("Voice"), (std::vector<std::string>{"Voice 3 scripted best", "Voice 3 scripted next"}));
  EXPECT_EQ(host_.ToldReplaced(), std::vector<std::string>{"3 best -> next"});

  ASSERT_EQ(Say(3, "Four."), kEngineOk);
  ASSERT_TRUE(host_.WaitForSpoken(2));
  EXPECT_EQ(host_.Entries("Utter").back(), UtterEntry(3, u"next:Four."));
  EXPECT_EQ(host_.made[0]->renders.load(), 2) << "a failed voice is not tried again";
  EXPECT_EQ(host_.ToldReplaced().size(), 1U);
  EXPECT_EQ(host_.Entries("Voice").size(), 2U);
}

TEST_F(OrvatoneEngineTest, VoicesThatCannotStartAreSkippedWithOneNoticeAndNoneLeftEndsTheText) {
  host_.scripted = {{"onecore", 1}, {"classic", 1}, {"espeak", 3}};
  ASSERT_EQ(Start(1), kEngineOk);
  ASSERT_EQ(Say(1, "a. b. c. d."), kEngineOk);
  ASSERT_TRUE(host_.WaitForSpoken(1));
  EXPECT_EQ(host_.Entries("Utter"), (std::vector<std::string>{UtterEntry(1, u"espeak:a."), UtterEntry(1, u"espeak:b."),
                                                               UtterEntry(1, u"c."), UtterEntry(1, u"d.")}));
  EXPECT_EQ(host_.Entries("Voice"),
            (std::vector<std::string>{"Voice 1 scripted onecore", "Voice 1 scripted espeak", "Voice 1 none"}));
  EXPECT_EQ(host_.ToldReplaced(), (std::vector<std::string>{"1 onecore -> espeak", "1 espeak -> "}));
  // With no voice left each text still ends, so the reading never hangs.
  ASSERT_EQ(Say(1, "e."), kEngineOk);
  ASSERT_TRUE(host_.WaitForSpoken(2));
  EXPECT_EQ(host_.ToldReplaced().size(), 2U);
}

}  // namespace
}  // namespace ostrel::orvatone
