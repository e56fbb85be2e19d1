#include "speech_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace ostrel::orvatone {
namespace {

using namespace std::chrono_literals;
using Samples = std::vector<std::int16_t>;

// Generous: the machine is shared, and a wait only ends early when the condition holds.
constexpr auto kPatience = 30s;
constexpr int kRate = 1000;  // one sample per millisecond keeps the expected streams readable
constexpr int kUtteranceSamples = 1000;
constexpr int kBlockSamples = 100;   // PlayerTiming's default 100 ms
constexpr int kQueuedSamples = 1000;  // and 1000 ms

std::int16_t ValueOf(int index) { return static_cast<std::int16_t>(1000 + index); }
std::u16string TextOf(int index) {
  const std::string digits = std::to_string(index);
  return std::u16string(digits.begin(), digits.end());
}
Utterance U(int index, PauseAfter pauseAfter = PauseAfter::kNone) { return {TextOf(index), pauseAfter}; }

// The expected stream: each utterance a run of its own value, the pauses runs of zeros.
struct Stream {
  Samples samples;
  Stream& Voice(int index, int count = kUtteranceSamples, int volume = 100) {
    samples.insert(samples.end(), static_cast<std::size_t>(count), static_cast<std::int16_t>(ValueOf(index) * volume / 100));
    return *this;
  }
  Stream& Silence(int count) {
    samples.insert(samples.end(), static_cast<std::size_t>(count), 0);
    return *this;
  }
};

// "1000x1000 0x300 1001x1000": a stream as runs of one value, so that a failure shows where.
std::string Runs(const Samples& samples) {
  std::string runs;
  for (std::size_t i = 0; i < samples.size();) {
    std::size_t j = i;
    while (j < samples.size() && samples[j] == samples[i]) ++j;
    runs += (runs.empty() ? "" : " ") + std::to_string(samples[i]) + "x" + std::to_string(j - i);
    i = j;
  }
  return runs;
}

// The voice, the sound card and the engine around the player, sharing one lock so that a test can
// wait for any combination of what they saw. Utterance "i" renders as kUtteranceSamples samples of
// value 1000 + i; the test plays the device a block at a time from its own thread.
class Rig final : public Synthesiser, public AudioDevice, public PlayerHost {
 public:
  // --- Synthesiser
  bool Render(std::u16string_view text, const Prosody&, const std::function<bool()>& cancelled,
              Rendering& out) noexcept override {
    std::unique_lock lock(mutex_);
    const std::u16string key(text);
    renders_.push_back(key);
    threads_.insert(std::this_thread::get_id());
    changed_.notify_all();
    if (uniformPlay) {
      const long long unplayed = static_cast<long long>(renders_.size()) - played_ / kUtteranceSamples;
      maxRenderedUnplayed_ = std::max(maxRenderedUnplayed_, unplayed);
    }
    if (key == gatedText) {
      rendering_ = true;
      changed_.notify_all();
      // Polled as the real voices poll; a gate that ignores the cancellation stands for a voice that
      // takes long before its next poll.
      while (!gateOpen) {
        changed_.wait_for(lock, 2ms);
        if (cancelled()) {
          sawCancel_ = true;
          if (!gateIgnoresCancel) break;
        }
      }
      rendering_ = false;
      changed_.notify_all();
    }
    if (cancelled() || failing.contains(key)) return false;
    const int index = std::stoi(std::string(text.begin(), text.end()));
    out.spokenText = key + u"*";
    out.pcm.sampleRate = rateOf.contains(key) ? rateOf.at(key) : kRate;
    const int count = lengthOf.contains(key) ? lengthOf.at(key) : kUtteranceSamples;
    out.pcm.samples.assign(static_cast<std::size_t>(count), ValueOf(index));
    return true;
  }

  // --- AudioDevice
  bool Open(int sampleRate, std::function<void()> blockDone) noexcept override {
    std::lock_guard lock(mutex_);
    events_.push_back("open");
    threads_.insert(std::this_thread::get_id());
    changed_.notify_all();
    if (failOpensFrom != 0 && ++opens_ >= failOpensFrom) return false;
    open_ = true;
    paused_ = false;
    openRate_ = sampleRate;
    blockDone_ = std::move(blockDone);
    sessions_.emplace_back();
    played_ = 0;
    return true;
  }
  bool Write(std::vector<std::int16_t> block) noexcept override {
    std::lock_guard lock(mutex_);
    events_.push_back("write");
    changed_.notify_all();
    if (!open_) ++writesWhileClosed_;
    if (failingWrites.contains(++writes_)) return false;
    sessions_.back().insert(sessions_.back().end(), block.begin(), block.end());
    queue_.push_back(block);
    queuedSamples_ += static_cast<long long>(block.size());
    maxQueuedSamples_ = std::max(maxQueuedSamples_, queuedSamples_);
    return true;
  }
  void Pause() noexcept override {
    std::lock_guard lock(mutex_);
    events_.push_back("pause");
    paused_ = true;
    changed_.notify_all();
  }
  void Resume() noexcept override {
    std::lock_guard lock(mutex_);
    events_.push_back("resume");
    paused_ = false;
    changed_.notify_all();
  }
  void Reset() noexcept override {
    std::lock_guard lock(mutex_);
    events_.push_back("reset");
    queue_.clear();  // dropped, unheard and unreported
    queuedSamples_ = 0;
    changed_.notify_all();
  }
  void Close() noexcept override {
    std::lock_guard lock(mutex_);
    events_.push_back("close");
    threads_.insert(std::this_thread::get_id());
    open_ = false;
    blockDone_ = nullptr;
    changed_.notify_all();
  }

  // --- PlayerHost
  void OnThreadStarted() noexcept override { ThreadEvent("thread start"); }
  void OnThreadEnding() noexcept override { ThreadEvent("thread end"); }
  void OnUtterance(std::u16string_view spokenText) noexcept override {
    std::lock_guard lock(mutex_);
    utterances_.emplace_back(spokenText);
    changed_.notify_all();
  }
  void OnSpoken(void* window) noexcept override {
    std::lock_guard lock(mutex_);
    spoken_.push_back(window);
    if (!queue_.empty()) ++spokenWithBlocksQueued_;
    changed_.notify_all();
  }
  void OnDeviceFailure() noexcept override {
    std::lock_guard lock(mutex_);
    ++deviceFailures_;
    changed_.notify_all();
  }

  // --- the test's side

  template <typename Condition>
  bool WaitUntil(Condition condition) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return condition(*this); });
  }

  // Plays the oldest written block, as the sound card would; false if none came (at once, unless
  // `wait`).
  bool PlayBlock(bool wait = true) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, wait ? kPatience : 0s, [this] { return !queue_.empty() && !paused_; })) {
      return false;
    }
    PlayFront();
    return true;
  }
  bool PlayBlocks(int count) {
    for (int i = 0; i < count; ++i) {
      if (!PlayBlock()) return false;
    }
    return true;
  }
  // Plays whatever is written until the player has reported `count` texts spoken.
  bool PlayUntilSpoken(std::size_t count = 1) {
    std::unique_lock lock(mutex_);
    for (;;) {
      const bool woke = changed_.wait_for(lock, kPatience, [&] {
        return (!queue_.empty() && !paused_) || spoken_.size() >= count;
      });
      if (!woke) return false;
      if (queue_.empty() || paused_) return true;
      PlayFront();
    }
  }

  std::set<std::thread::id> Threads() { return Locked(threads_); }

  // Under the lock, so that a block is reported before a Reset can come between.
  void PlayFront() {
    const Samples& block = queue_.front();
    played_ += static_cast<long long>(block.size());
    queuedSamples_ -= static_cast<long long>(block.size());
    heard_.insert(heard_.end(), block.begin(), block.end());
    queue_.pop_front();
    blockDone_();
  }

  // Read under the lock by WaitUntil's conditions and, once the player is quiet, by the test.
  std::vector<void*> Spoken() { return Locked(spoken_); }
  int DeviceFailures() { return Locked(deviceFailures_); }
  std::vector<std::string> Events() { return Locked(events_); }
  std::vector<std::u16string> Utterances() { return Locked(utterances_); }
  std::vector<std::u16string> Renders() { return Locked(renders_); }
  std::vector<Samples> Sessions() { return Locked(sessions_); }
  Samples Heard() { return Locked(heard_); }  // every block played, across every open
  Samples LastSession() {
    std::lock_guard lock(mutex_);
    return sessions_.empty() ? Samples() : sessions_.back();
  }
  std::size_t Written() {
    std::lock_guard lock(mutex_);
    return sessions_.empty() ? 0 : sessions_.back().size();
  }
  long long Count(const std::string& event) {
    std::lock_guard lock(mutex_);
    return std::count(events_.begin(), events_.end(), event);
  }
  bool IsOpen() { return Locked(open_); }
  bool IsPaused() { return Locked(paused_); }
  int OpenRate() { return Locked(openRate_); }
  int WritesWhileClosed() { return Locked(writesWhileClosed_); }
  int SpokenWithBlocksQueued() { return Locked(spokenWithBlocksQueued_); }
  long long MaxQueuedSamples() { return Locked(maxQueuedSamples_); }
  long long MaxRenderedUnplayed() { return Locked(maxRenderedUnplayed_); }
  bool SawCancel() { return Locked(sawCancel_); }
  void OpenGate() {
    std::lock_guard lock(mutex_);
    gateOpen = true;
    changed_.notify_all();
  }

  // Set before the player starts; conditions read the rest under the lock.
  std::set<std::u16string> failing;
  std::map<std::u16string, int> rateOf;
  std::map<std::u16string, int> lengthOf;
  std::u16string gatedText;
  bool gateOpen = false;
  bool gateIgnoresCancel = false;
  int failOpensFrom = 0;     // 1-based: this open and every later one fail; 0 never
  std::set<int> failingWrites;  // 1-based, counted over every open
  bool uniformPlay = false;  // every utterance kUtteranceSamples long, no pauses: renders can be counted against play

  // For WaitUntil's conditions, which run under the lock.
  bool rendering_ = false;
  bool open_ = false;
  bool paused_ = false;
  std::deque<Samples> queue_;
  std::vector<void*> spoken_;
  int deviceFailures_ = 0;
  std::vector<std::string> events_;
  std::vector<std::u16string> renders_;

 private:
  void ThreadEvent(const char* event) {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
    threads_.insert(std::this_thread::get_id());
    changed_.notify_all();
  }

  template <typename T>
  T Locked(const T& value) {
    std::lock_guard lock(mutex_);
    return value;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::function<void()> blockDone_;
  int openRate_ = 0;
  std::vector<Samples> sessions_;
  Samples heard_;
  std::set<std::thread::id> threads_;  // where the voice, the opens and closes and the thread hooks ran
  int opens_ = 0;
  std::vector<std::u16string> utterances_;
  long long played_ = 0;
  long long queuedSamples_ = 0;
  long long maxQueuedSamples_ = 0;
  long long maxRenderedUnplayed_ = 0;
  int writes_ = 0;
  int writesWhileClosed_ = 0;
  int spokenWithBlocksQueued_ = 0;
  bool sawCancel_ = false;
};

void* const kWindow = reinterpret_cast<void*>(0x1234);
void* const kOtherWindow = reinterpret_cast<void*>(0x5678);

SpeechOrder Order(std::vector<Utterance> utterances, void* window = kWindow) {
  SpeechOrder order;
  order.window = window;
  order.utterances = [utterances = std::move(utterances)] { return utterances; };
  order.pauseMs = 300;
  order.commaPauseMs = 120;
  return order;
}

std::vector<Utterance> Numbered(int count, PauseAfter pauseAfter = PauseAfter::kNone) {
  std::vector<Utterance> utterances;
  for (int i = 0; i < count; ++i) utterances.push_back(U(i, pauseAfter));
  return utterances;
}

class SpeechPlayerTest : public ::testing::Test {
 protected:
  // A device that stops reporting is tested on its own; elsewhere the test's pace must never look
  // like a stall.
  static PlayerTiming Patient() {
    PlayerTiming timing;
    timing.stallGraceMs = 600'000;
    return timing;
  }

  void TearDown() override { EXPECT_EQ(rig.WritesWhileClosed(), 0); }

  Rig rig;
};

TEST_F(SpeechPlayerTest, PlaysEachUtteranceWithItsPauseButNoneAfterTheLast) {
  SpeechPlayer player(rig, rig, rig, Patient());
  player.Speak(Order({U(0, PauseAfter::kComma), U(1, PauseAfter::kSentence), U(2), U(3, PauseAfter::kSentence)}));
  ASSERT_TRUE(rig.PlayUntilSpoken());

  EXPECT_EQ(rig.LastSession(), Stream().Voice(0).Silence(120).Voice(1).Silence(300).Voice(2).Voice(3).samples);
  EXPECT_EQ(rig.Spoken(), std::vector<void*>{kWindow});
  EXPECT_EQ(rig.SpokenWithBlocksQueued(), 0);
  EXPECT_EQ(rig.Utterances(), (std::vector<std::u16string>{u"0*", u"1*", u"2*", u"3*"}));
  EXPECT_EQ(rig.OpenRate(), kRate);
  EXPECT_EQ(rig.DeviceFailures(), 0);
  EXPECT_EQ(rig.Count("reset"), 0);
  EXPECT_TRUE(rig.WaitUntil([](Rig& r) { return !r.open_; }));
  EXPECT_EQ(rig.Count("open"), 1);
}

TEST_F(SpeechPlayerTest, BlocksStayWithinTheQueueAndAPauseIsMadeAsTheDeviceDrains) {
  SpeechPlayer player(rig, rig, rig, Patient());
  SpeechOrder order = Order({U(0, PauseAfter::kSentence), U(1)});
  order.pauseMs = 65535;
  player.Speak(std::move(order));
  ASSERT_TRUE(rig.PlayUntilSpoken());

  EXPECT_EQ(rig.LastSession(), Stream().Voice(0).Silence(65535).Voice(1).samples);
  EXPECT_LE(rig.MaxQueuedSamples(), kQueuedSamples);
}

TEST_F(SpeechPlayerTest, AppliesTheVolume) {
  SpeechPlayer player(rig, rig, rig, Patient());
  SpeechOrder order = Order({U(0), U(1)});
  order.volume = 50;
  player.Speak(std::move(order));
  ASSERT_TRUE(rig.PlayUntilSpoken());

  EXPECT_EQ(rig.LastSession(), Stream().Voice(0, kUtteranceSamples, 50).Voice(1, kUtteranceSamples, 50).samples);
}

TEST_F(SpeechPlayerTest, ResamplesAnUtteranceAtAnotherRateToTheDevicesRate) {
  rig.rateOf[u"1"] = 2 * kRate;
  rig.lengthOf[u"1"] = 2 * kUtteranceSamples;
  SpeechPlayer player(rig, rig, rig, Patient());
  player.Speak(Order({U(0), U(1)}));
  ASSERT_TRUE(rig.PlayUntilSpoken());

  EXPECT_EQ(rig.LastSession(), Stream().Voice(0).Voice(1).samples);
  EXPECT_EQ(rig.Count("open"), 1);
}

TEST_F(SpeechPlayerTest, PauseAndResumeContinueFromTheSameSample) {
  SpeechPlayer player(rig, rig, rig, Patient());
  player.Speak(Order({U(0, PauseAfter::kSentence), U(1, PauseAfter::kComma), U(2)}));
  ASSERT_TRUE(rig.PlayBlocks(13));
  player.Pause();
  EXPECT_TRUE(rig.IsPaused());
  // Rendering ahead goes on while paused; the stream must not change because of it.
  ASSERT_TRUE(rig.WaitUntil([](Rig& r) { return r.renders_.size() == 3; }));
  player.Resume();
  EXPECT_FALSE(rig.IsPaused());
  ASSERT_TRUE(rig.PlayUntilSpoken());

  EXPECT_EQ(rig.LastSession(), Stream().Voice(0).Silence(300).Voice(1).Silence(120).Voice(2).samples);
  EXPECT_EQ(rig.Count("pause"), 1);
  EXPECT_EQ(rig.Count("resume"), 1);
  EXPECT_EQ(rig.Count("reset"), 0);
  EXPECT_EQ(rig.Spoken(), std::vector<void*>{kWindow});
}

TEST_F(SpeechPlayerTest, APauseWhileTheFirstUtteranceRendersHoldsTheDeviceBeforeItsFirstBlock) {
  rig.gatedText = u"0";
  SpeechPlayer player(rig, rig, rig, Patient());
  player.Speak(Order({U(0), U(1)}));
  ASSERT_TRUE(rig.WaitUntil([](Rig& r) { return r.rendering_; }));
  player.Pause();
  rig.OpenGate();
  ASSERT_TRUE(rig.WaitUntil([](Rig& r) { return !r.queue_.empty(); }));

  const auto events = rig.Events();
  const auto pause = std::find(events.begin(), events.end(), "pause");
  const auto open = std::find(events.begin(), events.end(), "open");
  const auto write = std::find(events.begin(), events.end(), "write");
  ASSERT_NE(pause, events.end());
  EXPECT_LT(open, pause);
  EXPECT_LT(pause, write);
  EXPECT_TRUE(rig.IsPaused());

  player.Resume();
  ASSERT_TRUE(rig.PlayUntilSpoken());
  EXPECT_EQ(rig.LastSession(), Stream().Voice(0).Voice(1).samples);
}

TEST_F(SpeechPlayerTest, PauseAndResumeOutOfTurnDoNothing) {
  SpeechPlayer player(rig, rig, rig, Patient());
  player.Pause();
  player.Resume();
  EXPECT_EQ(rig.Count("pause"), 0);
  EXPECT_EQ(rig.Count("resume"), 0);

  player.Speak(Order({U(0)}));
  ASSERT_TRUE(rig.PlayBlock());
  player.Resume();
  player.Pause();
  player.Pause();
  player.Resume();
  player.Resume();
  ASSERT_TRUE(rig.PlayUntilSpoken());
  EXPECT_EQ(rig.Count("pause"), 1);
  EXPECT_EQ(rig.Count("resume"), 1);

  // After the end of the text there is nothing to pause.
  ASSERT_TRUE(rig.WaitUntil([](Rig& r) { return !r.open_; }));
  player.Pause();
  EXPECT_EQ(rig.Count("pause"), 1);
}

TEST_F(SpeechPlayerTest, StopSilencesAtOnceAndReportsNothing) {
  SpeechPlayer player(rig, rig, rig, Patient());
  player.Speak(Order(Numbered(5, PauseAfter::kSentence)));
  ASSERT_TRUE(rig.PlayBlocks(4));
  player.Stop();
  EXPECT_GE(rig.Count("reset"), 1) << "Stop silences the device before it returns";
  const std::size_t writtenAtStop = rig.Written();

  ASSERT_TRUE(rig.WaitUntil([](Rig& r) { return !r.open_; }));
  EXPECT_EQ(rig.Written(), writtenAtStop);
  EXPECT_TRUE(rig.Spoken().empty());
  EXPECT_EQ(rig.DeviceFailures(), 0);

  // Stopping when idle changes nothing, and the player speaks again afterwards.
  const long long resets = rig.Count("reset");
  player.Stop();
  EXPECT_EQ(rig.Count("reset"), resets);
  player.Speak(Order({U(7)}, kOtherWindow));
  ASSERT_TRUE(rig.PlayUntilSpoken());
  EXPECT_EQ(rig.LastSession(), Stream().Voice(7).samples);
  EXPECT_EQ(rig.Spoken(), std::vector<void*>{kOtherWindow});
}

TEST_F(SpeechPlayerTest, StopReturnsWhileALongRenderingIsStillUnderWay) {
  rig.gatedText = u"0";
  rig.gateIgnoresCancel = true;
  SpeechPlayer player(rig, rig, rig, Patient());
  player.Speak(Order({U(0), U(1)}));
  ASSERT_TRUE(rig.WaitUntil([](Rig& r) { return r.rendering_; }));

  auto stopped = std::async(std::launch::async, [&] { player.Stop(); });
  const bool returned = stopped.wait_for(kPatience) == std::future_status::ready;
  EXPECT_TRUE(returned) << "Stop waited for the rendering";
  rig.OpenGate();
  stopped.wait();

  ASSERT_TRUE(rig.WaitUntil([](Rig& r) { return !r.rendering_; }));
  EXPECT_TRUE(rig.SawCancel());
  player.Speak(Order({U(2)}));
  ASSERT_TRUE(rig.PlayUntilSpoken());
  EXPECT_EQ(rig.Renders(), (std::vector<std::u16string>{u"0", u"2"}));
  EXPECT_EQ(rig.Sessions(), std::vector<Samples>{Stream().Voice(2).samples});
  EXPECT_EQ(rig.Spoken(), std::vector<void*>{kWindow});
}

TEST_F(SpeechPlayerTest, SpeakWhileSpeakingReplacesTheTextWithoutReportingIt) {
  SpeechPlayer player(rig, rig, rig, Patient());
  player.Speak(Order(Numbered(4, PauseAfter::kSentence), kWindow));
  ASSERT_TRUE(rig.PlayBlocks(3));
  player.Speak(Order({U(8, PauseAfter::kComma), U(9)}, kOtherWindow));
  EXPECT_GE(rig.Count("reset"), 1) << "Speak silences the text before it returns";
  ASSERT_TRUE(rig.PlayUntilSpoken());

  EXPECT_EQ(rig.LastSession(), Stream().Voice(8).Silence(120).Voice(9).samples);
  EXPECT_EQ(rig.Spoken(), std::vector<void*>{kOtherWindow});
  EXPECT_EQ(rig.Count("open"), 2);
}

TEST_F(SpeechPlayerTest, SpeakWhilePausedPlaysTheNewTextUnpaused) {
  SpeechPlayer player(rig, rig, rig, Patient());
  player.Speak(Order(Numbered(3), kWindow));
  ASSERT_TRUE(rig.PlayBlocks(2));
  player.Pause();
  player.Speak(Order({U(5)}, kOtherWindow));
  ASSERT_TRUE(rig.PlayUntilSpoken());

  EXPECT_EQ(rig.LastSession(), Stream().Voice(5).samples);
  EXPECT_EQ(rig.Spoken(), std::vector<void*>{kOtherWindow});
  EXPECT_EQ(rig.Count("pause"), 1);
}

TEST_F(SpeechPlayerTest, TheEndIsReportedOnceEvenWhenStopRacesTheLastBlock) {
  SpeechPlayer player(rig, rig, rig, Patient());
  player.Speak(Order({U(0)}));
  ASSERT_TRUE(rig.PlayBlocks(kUtteranceSamples / kBlockSamples - 1));
  std::thread last([&] { rig.PlayBlock(false); });
  player.Stop();
  const std::size_t spokenAtStop = rig.Spoken().size();
  last.join();
  ASSERT_TRUE(rig.WaitUntil([](Rig& r) { return !r.open_; }));
  EXPECT_EQ(rig.Spoken().size(), spokenAtStop) << "the end was reported after Stop returned";
  EXPECT_LE(spokenAtStop, 1U);
}

TEST_F(SpeechPlayerTest, DestroyingThePlayerMidTextClosesTheDeviceWithoutReportingTheEnd) {
  {
    SpeechPlayer player(rig, rig, rig, Patient());
    player.Speak(Order(Numbered(3)));
    ASSERT_TRUE(rig.PlayBlocks(2));
  }
  EXPECT_FALSE(rig.IsOpen());
  EXPECT_TRUE(rig.Spoken().empty());
}

// What a platform keeps per thread (COM) is set up before the player's thread does anything and
// ended after everything, also when the player goes mid-text.
TEST_F(SpeechPlayerTest, TheThreadHooksRunFirstAndLastOnThePlayersOwnThread) {
  {
    SpeechPlayer player(rig, rig, rig, Patient());
    player.Speak(Order({U(0)}));
    ASSERT_TRUE(rig.PlayUntilSpoken());
    player.Speak(Order(Numbered(3)));
    ASSERT_TRUE(rig.PlayBlocks(2));
  }
  const std::vector<std::string> events = rig.Events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), "thread start");
  EXPECT_EQ(events.back(), "thread end");
  EXPECT_EQ(rig.Count("thread start"), 1);
  EXPECT_EQ(rig.Count("thread end"), 1);
  EXPECT_EQ(rig.Count("close"), 2);
  const std::set<std::thread::id> threads = rig.Threads();
  EXPECT_EQ(threads.size(), 1U);
  EXPECT_FALSE(threads.contains(std::this_thread::get_id()));
}

// A device that fails mid-text is opened again once on the default device, and the listener hears
// every sample once, in order: the blocks the failed device had not played are written again.
TEST_F(SpeechPlayerTest, ADeviceThatFailsMidTextIsOpenedAgainAndTheTextGoesOn) {
  struct Case {
    const char* name;
    std::set<int> failingWrites;
    int opens;
  };
  for (const Case& c : {Case{"its first write", {1}, 2}, Case{"a later write", {4}, 2},
                        Case{"twice, playing in between", {4, 17}, 3}}) {
    SCOPED_TRACE(c.name);
    Rig failing;
    failing.failingWrites = c.failingWrites;
    SpeechPlayer player(failing, failing, failing, Patient());
    player.Speak(Order({U(0, PauseAfter::kSentence), U(1), U(2)}));
    ASSERT_TRUE(failing.PlayUntilSpoken());
    EXPECT_EQ(Runs(failing.Heard()), Runs(Stream().Voice(0).Silence(300).Voice(1).Voice(2).samples));
    EXPECT_EQ(failing.DeviceFailures(), 0);
    EXPECT_EQ(failing.Spoken(), std::vector<void*>{kWindow});
    EXPECT_EQ(failing.Count("open"), c.opens);
    EXPECT_TRUE(failing.WaitUntil([](Rig& r) { return !r.open_; }));
    EXPECT_EQ(failing.WritesWhileClosed(), 0);
  }
}

TEST_F(SpeechPlayerTest, ADeviceThatStopsPlayingMidTextIsOpenedAgain) {
  PlayerTiming timing;
  timing.stallGraceMs = 200;
  SpeechPlayer player(rig, rig, rig, timing);
  player.Speak(Order({U(0), U(1)}));
  ASSERT_TRUE(rig.PlayBlocks(3));
  // The device sits on its blocks until the player gives up on it and opens another.
  ASSERT_TRUE(rig.WaitUntil([](Rig& r) { return std::count(r.events_.begin(), r.events_.end(), "open") == 2; }));
  ASSERT_TRUE(rig.PlayUntilSpoken());
  EXPECT_EQ(Runs(rig.Heard()), Runs(Stream().Voice(0).Voice(1).samples));
  EXPECT_EQ(rig.DeviceFailures(), 0);
  EXPECT_EQ(rig.Spoken(), std::vector<void*>{kWindow});
}

// When the device cannot be had again, the text ends once, as spoken, with the device closed and
// the user told once.
TEST_F(SpeechPlayerTest, ADeviceThatCannotBeHadAgainEndsTheTextOnce) {
  struct Case {
    const char* name;
    int failOpensFrom;
    std::set<int> failingWrites;
    int opens;
    int closes;
  };
  for (const Case& c : {Case{"the first open", 1, {}, 1, 0}, Case{"the open after a failed first write", 2, {1}, 2, 1},
                        Case{"the open after a failed later write", 2, {4}, 2, 1},
                        Case{"the reopened device's first write", 0, {4, 5}, 2, 2}}) {
    SCOPED_TRACE(c.name);
    Rig failing;
    failing.failOpensFrom = c.failOpensFrom;
    failing.failingWrites = c.failingWrites;
    SpeechPlayer player(failing, failing, failing, Patient());
    player.Speak(Order(Numbered(3)));
    ASSERT_TRUE(failing.PlayUntilSpoken());
    EXPECT_EQ(failing.DeviceFailures(), 1);
    EXPECT_EQ(failing.Spoken(), std::vector<void*>{kWindow});
    EXPECT_FALSE(failing.IsOpen());
    EXPECT_EQ(failing.Count("open"), c.opens);
    EXPECT_EQ(failing.Count("close"), c.closes);
    EXPECT_EQ(failing.WritesWhileClosed(), 0);
  }
}

TEST_F(SpeechPlayerTest, ADeviceThatNeverPlaysIsTriedTwiceThenCountsAsFailed) {
  PlayerTiming timing;
  timing.stallGraceMs = 50;
  rig.lengthOf[u"0"] = 150;
  SpeechPlayer player(rig, rig, rig, timing);
  player.Speak(Order({U(0)}));
  // Nobody plays: the device sits on its blocks.
  ASSERT_TRUE(rig.WaitUntil([](Rig& r) { return !r.spoken_.empty(); }));
  EXPECT_EQ(rig.DeviceFailures(), 1);
  EXPECT_EQ(rig.Spoken(), std::vector<void*>{kWindow});
  EXPECT_EQ(rig.Count("open"), 2);
  EXPECT_GE(rig.Count("reset"), 2);
  EXPECT_FALSE(rig.IsOpen());
}

TEST_F(SpeechPlayerTest, APausedDeviceIsNeverTakenForStalled) {
  PlayerTiming timing;
  timing.stallGraceMs = 20;
  rig.gatedText = u"0";
  rig.lengthOf[u"0"] = 150;
  SpeechPlayer player(rig, rig, rig, timing);
  player.Speak(Order({U(0)}));
  // Paused before the device opens, so that it has never been playing.
  ASSERT_TRUE(rig.WaitUntil([](Rig& r) { return r.rendering_; }));
  player.Pause();
  rig.OpenGate();
  ASSERT_TRUE(rig.WaitUntil([](Rig& r) { return !r.queue_.empty(); }));
  // Well past the queued audio and the grace; a slow machine only makes this check weaker.
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(rig.DeviceFailures(), 0);
  EXPECT_TRUE(rig.Spoken().empty());
  player.Stop();
}

TEST_F(SpeechPlayerTest, AFailedUtteranceIsSkippedAndTheLongerPauseAroundItKept) {
  rig.failing = {u"1"};
  SpeechPlayer player(rig, rig, rig, Patient());
  player.Speak(Order({U(0, PauseAfter::kComma), U(1, PauseAfter::kSentence), U(2), U(3)}));
  ASSERT_TRUE(rig.PlayUntilSpoken());

  EXPECT_EQ(rig.LastSession(), Stream().Voice(0).Silence(300).Voice(2).Voice(3).samples);
  // Reported with the text it was given, since the voice gave back none.
  EXPECT_EQ(rig.Utterances(), (std::vector<std::u16string>{u"0*", u"1", u"2*", u"3*"}));
}

TEST_F(SpeechPlayerTest, ATextWithNothingToPlayStillEnds) {
  struct Case {
    const char* name;
    std::set<std::u16string> failing;
    std::vector<Utterance> utterances;
  };
  for (const Case& c : {Case{"every utterance fails", {u"0", u"1"}, {U(0, PauseAfter::kSentence), U(1)}},
                        Case{"no utterances", {}, {}}}) {
    SCOPED_TRACE(c.name);
    Rig silent;
    silent.failing = c.failing;
    SpeechPlayer player(silent, silent, silent, Patient());
    player.Speak(Order(c.utterances));
    ASSERT_TRUE(silent.PlayUntilSpoken());
    EXPECT_EQ(silent.Spoken(), std::vector<void*>{kWindow});
    EXPECT_EQ(silent.Count("open"), 0);
    EXPECT_EQ(silent.DeviceFailures(), 0);
  }
}

TEST_F(SpeechPlayerTest, RendersAtMostOneUtteranceAheadOfWhatThePlayerFeeds) {
  rig.uniformPlay = true;
  SpeechPlayer player(rig, rig, rig, Patient());
  player.Speak(Order(Numbered(30)));
  ASSERT_TRUE(rig.PlayBlocks(1));
  player.Pause();
  // While paused the player may fill its one slot; give it time to overreach if it would.
  ASSERT_TRUE(rig.WaitUntil([](Rig& r) { return r.renders_.size() >= 3; }));
  std::this_thread::sleep_for(100ms);
  EXPECT_LE(rig.Renders().size(), 3U);
  player.Resume();
  ASSERT_TRUE(rig.PlayUntilSpoken());

  // One utterance finishing in the device, one being fed to it, one waiting.
  EXPECT_LE(rig.MaxRenderedUnplayed(), 3);
  EXPECT_LE(rig.MaxQueuedSamples(), kQueuedSamples);
  EXPECT_EQ(rig.Written(), 30U * kUtteranceSamples);
}

TEST_F(SpeechPlayerTest, ALongTextOfShortUtterancesPlaysCompletely) {
  constexpr int kCount = 3000;
  Stream expected;
  for (int i = 0; i < kCount; ++i) {
    rig.lengthOf[TextOf(i)] = 7;
    expected.Voice(i, 7);
    if (i + 1 < kCount) expected.Silence(2);
  }
  SpeechPlayer player(rig, rig, rig, Patient());
  SpeechOrder order = Order(Numbered(kCount, PauseAfter::kComma));
  order.commaPauseMs = 2;
  player.Speak(std::move(order));
  ASSERT_TRUE(rig.PlayUntilSpoken());

  EXPECT_EQ(rig.LastSession(), expected.samples);
  EXPECT_EQ(rig.Spoken(), std::vector<void*>{kWindow});
  EXPECT_LE(rig.MaxQueuedSamples(), kQueuedSamples);
}

}  // namespace
}  // namespace ostrel::orvatone
