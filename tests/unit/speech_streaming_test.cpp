// Sound heard while the voice is still speaking: the player writes each piece a voice hands over
// as it comes, trims silence exactly as it does for whole renderings, and a stop or a voice that
// fails midway ends the piece stream cleanly.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "pcm.h"
#include "speech_player.h"

namespace ostrel::orvatone {
namespace {

using namespace std::chrono_literals;
using Samples = std::vector<std::int16_t>;
constexpr int kRate = 1000;  // one sample a millisecond; the trim margin is 10 samples
constexpr auto kPatience = 20s;

Samples Level(int count, std::int16_t value) { return Samples(static_cast<std::size_t>(count), value); }
Samples Join(std::initializer_list<Samples> parts) {
  Samples all;
  for (const Samples& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(SilenceTrimTest, PartsGiveExactlyWhatTrimmingTheWholeGives) {
  const std::vector<Samples> signals = {
      Join({Level(50, 0), Level(20, 5000), Level(30, 100), Level(5, -5000), Level(40, 0)}),
      Join({Level(3, 0), Level(10, 4000), Level(25, 0), Level(10, 4000)}),
      Level(60, 200),  // nothing audible at all
      Join({Level(8, 9000), Level(4, 0)}),
  };
  for (std::size_t s = 0; s < signals.size(); ++s) {
    Pcm whole{kRate, signals[s]};
    TrimSilence(whole);
    const std::size_t n = signals[s].size();
    // Every split into three parts, empty ones included.
    for (std::size_t a = 0; a <= n; a += 7) {
      for (std::size_t b = a; b <= n; b += 5) {
        SilenceTrim trim(kRate);
        Samples got;
        for (const auto& [from, to] : {std::pair{std::size_t{0}, a}, std::pair{a, b}, std::pair{b, n}}) {
          const Samples part = trim.Take(std::span(signals[s]).subspan(from, to - from));
          got.insert(got.end(), part.begin(), part.end());
        }
        const Samples tail = trim.Finish();
        got.insert(got.end(), tail.begin(), tail.end());
        ASSERT_EQ(whole.samples, got) << "signal " << s << " split at " << a << ", " << b;
      }
    }
  }
}

// A voice whose utterance "slow" comes in two pieces with the test's say between them, and the
// device and engine around the player, sharing one lock.
class StreamRig final : public Synthesiser, public AudioDevice, public PlayerHost {
 public:
  bool Render(std::u16string_view, const Prosody&, const std::function<bool()>&, Rendering&) noexcept override {
    return false;  // the player asks for pieces
  }
  bool RenderInParts(std::u16string_view text, const Prosody&, const std::function<bool()>& cancelled,
                     const PcmPart& part, Rendering& out) noexcept override {
    out.spokenText = std::u16string(text);
    if (text != u"slow") {
      part(Pcm{kRate, Level(200, 3000)});
      return true;
    }
    part(Pcm{kRate, Level(300, 1000)});
    std::unique_lock lock(mutex_);
    // Polled as a real voice polls.
    while (!secondPiece_ && !cancelled()) changed_.wait_for(lock, 2ms);
    heardBeforeEnd_ = written_.size();
    if (cancelled()) return false;
    lock.unlock();
    if (failMidway) return false;
    part(Pcm{kRate, Level(300, 2000)});
    return true;
  }

  bool Open(int, std::function<void()> blockDone) noexcept override {
    std::lock_guard lock(mutex_);
    blockDone_ = std::move(blockDone);
    return true;
  }
  // Played at once, unless paused: then held until Resume.
  bool Write(std::vector<std::int16_t> block) noexcept override {
    {
      std::lock_guard lock(mutex_);
      written_.insert(written_.end(), block.begin(), block.end());
      changed_.notify_all();
      if (paused_) {
        ++held_;
        return true;
      }
    }
    blockDone_();
    return true;
  }
  void Pause() noexcept override {
    std::lock_guard lock(mutex_);
    paused_ = true;
  }
  void Resume() noexcept override {
    int held = 0;
    {
      std::lock_guard lock(mutex_);
      paused_ = false;
      ++resumes_;
      held = std::exchange(held_, 0);
    }
    for (int i = 0; i < held; ++i) blockDone_();
  }
  void Reset() noexcept override {}
  void Close() noexcept override {}

  void OnUtterance(std::u16string_view) noexcept override {}
  void OnSpoken(void*) noexcept override {
    std::lock_guard lock(mutex_);
    ++spoken_;
    changed_.notify_all();
  }
  void OnDeviceFailure() noexcept override {}

  bool WaitWritten(std::size_t samples) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return written_.size() >= samples; });
  }
  void GiveSecondPiece() {
    std::lock_guard lock(mutex_);
    secondPiece_ = true;
    changed_.notify_all();
  }
  bool WaitSpoken(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return spoken_ >= count; });
  }
  Samples Written() {
    std::lock_guard lock(mutex_);
    return written_;
  }
  std::size_t HeardBeforeEnd() {
    std::lock_guard lock(mutex_);
    return heardBeforeEnd_;
  }
  int Spoken() {
    std::lock_guard lock(mutex_);
    return spoken_;
  }

  int Resumes() {
    std::lock_guard lock(mutex_);
    return resumes_;
  }
  bool Paused() {
    std::lock_guard lock(mutex_);
    return paused_;
  }

  bool failMidway = false;

 private:
  bool paused_ = false;
  int held_ = 0;
  int resumes_ = 0;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::function<void()> blockDone_;
  Samples written_;
  bool secondPiece_ = false;
  std::size_t heardBeforeEnd_ = 0;
  int spoken_ = 0;
};

SpeechOrder Order(std::vector<Utterance> utterances) {
  SpeechOrder order;
  order.utterances = [utterances] { return utterances; };
  order.pauseMs = 100;
  return order;
}

// "slow" then "next", a sentence's pause of 100 samples between them; each test starts once the
// first piece of "slow" has reached the device.
class SpeechStreamingTest : public ::testing::Test {
 protected:
  void StartSlowText() {
    player_.Speak(Order({{u"slow", PauseAfter::kSentence}, {u"next", PauseAfter::kNone}}));
    ASSERT_TRUE(rig_.WaitWritten(300)) << "nothing was played before the voice finished";
  }
  const Samples whole_ = Join({Level(300, 1000), Level(300, 2000), Level(100, 0), Level(200, 3000)});
  StreamRig rig_;
  SpeechPlayer player_{rig_, rig_, rig_};
};

TEST_F(SpeechStreamingTest, TheFirstPieceIsHeardWhileTheVoiceStillSpeaks) {
  StartSlowText();
  rig_.GiveSecondPiece();
  ASSERT_TRUE(rig_.WaitSpoken(1));
  EXPECT_GE(rig_.HeardBeforeEnd(), 300u);
  EXPECT_EQ(whole_, rig_.Written());
}

TEST_F(SpeechStreamingTest, AStopWhileAVoiceSpeaksEndsTheTextWithoutItsEnd) {
  StartSlowText();
  player_.Stop();
  player_.Speak(Order({{u"next", PauseAfter::kNone}}));
  ASSERT_TRUE(rig_.WaitSpoken(1));
  EXPECT_EQ(1, rig_.Spoken());
  EXPECT_EQ(Join({Level(300, 1000), Level(200, 3000)}), rig_.Written());
}

TEST_F(SpeechStreamingTest, AVoiceFailingMidwayKeepsWhatWasHeardAndTheTextGoesOn) {
  rig_.failMidway = true;
  StartSlowText();
  rig_.GiveSecondPiece();
  ASSERT_TRUE(rig_.WaitSpoken(1));
  EXPECT_EQ(Join({Level(300, 1000), Level(100, 0), Level(200, 3000)}), rig_.Written());
}

TEST_F(SpeechStreamingTest, APauseWhileTheVoiceSpeaksHoldsTheDeviceAndLosesNothing) {
  StartSlowText();
  player_.Pause();
  EXPECT_TRUE(rig_.Paused());
  rig_.GiveSecondPiece();
  // Both pieces and the next utterance reach the device, which holds them; the text cannot end.
  ASSERT_TRUE(rig_.WaitWritten(900));
  EXPECT_EQ(0, rig_.Spoken());
  player_.Resume();
  ASSERT_TRUE(rig_.WaitSpoken(1));
  EXPECT_EQ(1, rig_.Resumes());
  EXPECT_FALSE(rig_.Paused());
  EXPECT_EQ(whole_, rig_.Written());
}

}  // namespace
}  // namespace ostrel::orvatone
