#include "speech_player.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "log_seam.h"

namespace ostrel::orvatone {

namespace {

using Clock = std::chrono::steady_clock;

// Outside this range a voice's sample rate is taken for garbage rather than resampled from.
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 384000;

long long SamplesFor(long long ms, int sampleRate) { return std::max(ms, 0LL) * sampleRate / 1000; }

int PauseMs(const SpeechOrder& order, PauseAfter after) {
  switch (after) {
    case PauseAfter::kSentence:
      return std::max(order.pauseMs, 0);
    case PauseAfter::kComma:
      return std::max(order.commaPauseMs, 0);
    case PauseAfter::kNone:
      break;
  }
  return 0;
}

struct RenderedUtterance {
  Pcm pcm;
  int pauseMsAfter = 0;
};

// What goes to the device next: the pause owed to the utterance before, then this one's samples. The
// pause is made a block at a time, so a long one costs no memory.
class Feed {
 public:
  void Start(long long silence, std::vector<std::int16_t> audio) {
    silenceLeft_ = silence;
    audio_ = std::move(audio);
    offset_ = 0;
  }
  // More of the same utterance, arriving while it plays.
  void Append(const std::vector<std::int16_t>& more) { audio_.insert(audio_.end(), more.begin(), more.end()); }
  bool Empty() const { return silenceLeft_ == 0 && offset_ == audio_.size(); }
  long long NextBlockSize(long long blockSamples) const {
    const long long left = silenceLeft_ > 0 ? silenceLeft_ : static_cast<long long>(audio_.size() - offset_);
    return std::min(blockSamples, left);
  }
  std::vector<std::int16_t> TakeBlock(long long blockSamples) {
    const long long size = NextBlockSize(blockSamples);
    if (silenceLeft_ > 0) {
      silenceLeft_ -= size;
      return std::vector<std::int16_t>(static_cast<std::size_t>(size));
    }
    const auto begin = audio_.begin() + static_cast<std::ptrdiff_t>(offset_);
    offset_ += static_cast<std::size_t>(size);
    return std::vector<std::int16_t>(begin, begin + static_cast<std::ptrdiff_t>(size));
  }

 private:
  long long silenceLeft_ = 0;
  std::vector<std::int16_t> audio_;
  std::size_t offset_ = 0;
};

enum class Outcome { kSpoken, kCancelled, kDeviceFailed };

// The device side of one text: its rate once open, and what it is fed.
struct Playback {
  int deviceRate = 0;
  long long blockSamples = 0;
  long long maxQueued = 0;
  Feed feed;
  bool anyPlayed = false;
  int owedPauseMs = 0;  // no pause after the text's last sound: it is written only before the next one
};

}  // namespace

struct SpeechPlayer::State {
  State(Synthesiser& synthesiserRef, AudioDevice& deviceRef, PlayerHost& hostRef, PlayerTiming timingValues)
      : synthesiser(synthesiserRef), device(deviceRef), host(hostRef), timing(timingValues) {
    timing.blockMs = std::max(timing.blockMs, 1);
    timing.queuedMs = std::max(timing.queuedMs, timing.blockMs);
    timing.stallGraceMs = std::max(timing.stallGraceMs, 0);
  }

  Synthesiser& synthesiser;
  AudioDevice& device;
  PlayerHost& host;
  PlayerTiming timing;

  // Held by Speak, Pause, Resume and Stop and by the worker around each device call and end-of-text
  // report, so that none of them lands between a Stop's Reset and its return. blockDone never needs
  // it, so holding it across Reset and Close (which may call blockDone here) is safe.
  std::mutex control;
  bool deviceOpen = false;  // under `control`

  // Held briefly, never around a device call: blockDone takes it.
  std::mutex mutex;
  std::condition_variable wake;
  // Changed under both locks by Speak, Stop and the destructor; the worker's text is current while it
  // matches the value the worker started with. Atomic so that `cancelled` can poll it without a lock.
  std::atomic<unsigned long long> generation{0};
  std::optional<SpeechOrder> pending;
  bool quit = false;
  bool running = false;  // a text between Speak and its end, stop or replacement
  bool paused = false;
  unsigned long long session = 0;  // one per Open; blocks of an earlier one no longer count
  // Written and not yet reported played, kept whole for a device opened again after a failure.
  std::deque<std::vector<std::int16_t>> queuedBlocks;
  long long queuedSamples = 0;
  Clock::time_point lastProgress;
  bool reopenedSilent = false;  // opened again after a failure and has played nothing since

  std::thread worker;

  bool Cancelled(unsigned long long text) const { return generation.load() != text; }

  void BlockDone(unsigned long long blockSession) noexcept {
    std::lock_guard lock(mutex);
    if (blockSession != session || queuedBlocks.empty()) return;
    queuedSamples -= static_cast<long long>(queuedBlocks.front().size());
    queuedBlocks.pop_front();
    lastProgress = Clock::now();
    reopenedSilent = false;
    wake.notify_all();
  }

  void Run() noexcept {
    host.OnThreadStarted();
    Serve();
    host.OnThreadEnding();
  }

  void Serve() noexcept {
    std::unique_lock lock(mutex);
    for (;;) {
      wake.wait(lock, [this] { return quit || pending.has_value(); });
      if (quit) return;
      std::optional<SpeechOrder> order(std::move(pending));
      pending.reset();
      const unsigned long long text = generation.load();
      lock.unlock();
      PlayText(*order, text);
      order.reset();  // whatever the order's function holds goes outside the lock
      lock.lock();
    }
  }

  void PlayText(const SpeechOrder& order, unsigned long long text) noexcept {
    Outcome outcome = Outcome::kDeviceFailed;
    try {
      outcome = PlayUtterances(order, text);
    } catch (...) {
      // Out of memory for a block: the device side cannot go on.
      LogCaught("playing a text");
    }
    Finish(order.window, text, outcome);
  }

  Outcome PlayUtterances(const SpeechOrder& order, unsigned long long text) {
    std::vector<Utterance> utterances;
    try {
      if (order.utterances) utterances = order.utterances();
    } catch (...) {
      LogCaught("preparing a text for speech");
      return Outcome::kSpoken;  // nothing could be read; the caller still learns that the text ended
    }
    const std::function<bool()> cancelled = [this, text] { return Cancelled(text); };

    Playback play;
    std::optional<RenderedUtterance> ahead;
    std::size_t next = 0;

    for (;;) {
      if (Cancelled(text)) return Outcome::kCancelled;
      if (play.deviceRate != 0) {
        const Outcome written =
            Survive(TopUp(play.feed, text, play.blockSamples, play.maxQueued), text, play.deviceRate);
        if (written != Outcome::kSpoken) return written;
      }
      if (!ahead && next < utterances.size()) {
        const Utterance& utterance = utterances[next++];
        const Outcome rendered = RenderInto(utterance, order, text, cancelled, play, ahead);
        if (rendered != Outcome::kSpoken) return rendered;
        continue;
      }
      if (play.feed.Empty()) {
        if (!ahead) break;
        play.feed.Start(play.anyPlayed ? SamplesFor(play.owedPauseMs, play.deviceRate) : 0,
                        std::move(ahead->pcm.samples));
        play.owedPauseMs = ahead->pauseMsAfter;
        play.anyPlayed = true;
        ahead.reset();
        continue;
      }
      const long long blockSize = play.feed.NextBlockSize(play.blockSamples);
      const Outcome room = Survive(
          WaitFor(text, play.deviceRate, [&] { return queuedSamples + blockSize <= play.maxQueued; }), text,
          play.deviceRate);
      if (room != Outcome::kSpoken) return room;
    }
    if (play.deviceRate == 0) return Outcome::kSpoken;  // every utterance failed: nothing to play
    for (;;) {
      const Outcome drained = WaitFor(text, play.deviceRate, [this] { return queuedBlocks.empty(); });
      if (drained != Outcome::kDeviceFailed) return drained;
      const Outcome reopened = Survive(drained, text, play.deviceRate);
      if (reopened != Outcome::kSpoken) return reopened;
    }
  }

  // Renders one utterance and plays it as it comes once nothing is left to play before it; until
  // then it waits its turn in `ahead`. The device opens at the first sound of the text. A failed or
  // silent utterance plays nothing and leaves only the larger of the pauses around it.
  Outcome RenderInto(const Utterance& utterance, const SpeechOrder& order, unsigned long long text,
                     const std::function<bool()>& cancelled, Playback& play, std::optional<RenderedUtterance>& ahead) {
    const int pauseAfter = PauseMs(order, utterance.pauseAfter);
    Outcome outcome = Outcome::kSpoken;
    int rate = 0;
    bool unusable = false;
    bool started = false;  // in the feed, playing as it comes
    std::vector<std::int16_t> waiting;
    std::optional<SilenceTrim> trim;
    const auto deliver = [&](std::vector<std::int16_t> samples) {
      if (samples.empty() || outcome != Outcome::kSpoken) return;
      if (play.deviceRate == 0) {
        outcome = OpenDevice(text, rate);
        if (outcome != Outcome::kSpoken) return;
        play.deviceRate = rate;
        play.blockSamples = std::max(SamplesFor(timing.blockMs, rate), 1LL);
        play.maxQueued = std::max(SamplesFor(timing.queuedMs, rate), play.blockSamples);
      }
      Pcm pcm{rate, std::move(samples)};
      Resample(pcm, play.deviceRate);
      ApplyVolume(pcm.samples, order.volume);
      if (started) {
        play.feed.Append(pcm.samples);
      } else {
        waiting.insert(waiting.end(), pcm.samples.begin(), pcm.samples.end());
      }
      // Twice: the first top-up may finish what played before, and this utterance then starts.
      for (int round = 0; round < 2 && outcome == Outcome::kSpoken; ++round) {
        if (!started && play.feed.Empty()) {
          play.feed.Start(play.anyPlayed ? SamplesFor(play.owedPauseMs, play.deviceRate) : 0, std::move(waiting));
          waiting.clear();
          play.owedPauseMs = pauseAfter;
          play.anyPlayed = true;
          started = true;
        }
        outcome = Survive(TopUp(play.feed, text, play.blockSamples, play.maxQueued), text, play.deviceRate);
      }
    };
    const PcmPart part = [&](Pcm piece) {
      if (unusable || outcome != Outcome::kSpoken) return;
      if (piece.sampleRate < kMinSampleRate || piece.sampleRate > kMaxSampleRate) {
        unusable = true;
        rate = piece.sampleRate;
        return;
      }
      // Another voice taking over midway may speak at another rate.
      if (trim && piece.sampleRate != rate) {
        deliver(trim->Finish());
        trim.reset();
      }
      rate = piece.sampleRate;
      if (!trim) trim.emplace(rate);
      deliver(trim->Take(piece.samples));
    };
    Rendering rendering;
    const bool rendered = synthesiser.RenderInParts(utterance.text, order.prosody, cancelled, part, rendering);
    host.OnUtterance(rendering.spokenText.empty() ? std::u16string_view(utterance.text)
                                                  : std::u16string_view(rendering.spokenText));
    if (outcome != Outcome::kSpoken) return outcome;
    if (Cancelled(text)) return Outcome::kCancelled;
    if (!rendered || unusable) {
      // A stop cuts a rendering short; only a voice that failed by itself is worth a record.
      Log(LogLevel::kWarning, unusable ? "the voice gave an unusable sample rate " + std::to_string(rate)
                                       : std::string("the voice could not render an utterance"));
    } else if (trim) {
      deliver(trim->Finish());
      if (outcome != Outcome::kSpoken) return outcome;
    }
    if (started) return Outcome::kSpoken;
    if (rendered && !unusable && !waiting.empty()) {
      ahead = RenderedUtterance{Pcm{play.deviceRate, std::move(waiting)}, pauseAfter};
    } else if (play.anyPlayed) {
      play.owedPauseMs = std::max(play.owedPauseMs, pauseAfter);
    }
    return Outcome::kSpoken;
  }

  Outcome OpenDevice(unsigned long long text, int sampleRate) {
    std::function<void()> blockDone;
    {
      std::lock_guard lock(mutex);
      const unsigned long long openSession = ++session;
      queuedBlocks.clear();
      queuedSamples = 0;
      blockDone = [this, openSession] { BlockDone(openSession); };
    }
    std::lock_guard controlLock(control);
    if (Cancelled(text)) return Outcome::kCancelled;
    if (!device.Open(sampleRate, std::move(blockDone))) return Outcome::kDeviceFailed;
    deviceOpen = true;
    bool pauseAtOnce = false;
    {
      std::lock_guard lock(mutex);
      pauseAtOnce = paused;
    }
    // A Pause that came while the first utterance rendered: nothing may be heard before Resume.
    if (pauseAtOnce) device.Pause();
    return Outcome::kSpoken;
  }

  // Writes blocks until the device holds as much as it may. kSpoken: all is well.
  Outcome TopUp(Feed& feed, unsigned long long text, long long blockSamples, long long maxQueued) {
    while (!feed.Empty()) {
      const long long size = feed.NextBlockSize(blockSamples);
      {
        std::lock_guard lock(mutex);
        if (queuedSamples + size > maxQueued) return Outcome::kSpoken;
      }
      std::vector<std::int16_t> block = feed.TakeBlock(blockSamples);
      const Outcome written = WriteBlock(text, std::move(block));
      if (written != Outcome::kSpoken) return written;
    }
    return Outcome::kSpoken;
  }

  Outcome WriteBlock(unsigned long long text, std::vector<std::int16_t> block) {
    std::lock_guard controlLock(control);
    if (Cancelled(text)) return Outcome::kCancelled;
    {
      // Counted before the write: the device may report it done before Write returns.
      std::lock_guard lock(mutex);
      if (queuedBlocks.empty()) lastProgress = Clock::now();
      queuedSamples += static_cast<long long>(block.size());
      queuedBlocks.push_back(block);
    }
    return device.Write(std::move(block)) ? Outcome::kSpoken : Outcome::kDeviceFailed;
  }

  // A device that failed mid-text (a headset pulled out, the default device changed) is opened
  // again once, on whatever is the default now, and given the blocks it had not played. A device
  // that fails again before it has played anything is not tried a third time.
  Outcome Survive(Outcome outcome, unsigned long long text, int deviceRate) {
    std::deque<std::vector<std::int16_t>> unplayed;
    while (outcome == Outcome::kDeviceFailed) {
      {
        std::lock_guard controlLock(control);
        if (Cancelled(text)) return Outcome::kCancelled;
        {
          std::lock_guard lock(mutex);
          if (reopenedSilent) return Outcome::kDeviceFailed;
        }
        // Reset reports what the device played up to now, so what stays queued was not heard.
        device.Reset();
        {
          std::lock_guard lock(mutex);
          // What the failed device held was written before what still waits to be written again.
          std::move(unplayed.begin(), unplayed.end(), std::back_inserter(queuedBlocks));
          unplayed = std::exchange(queuedBlocks, {});
          queuedSamples = 0;
          ++session;
        }
        device.Close();
        deviceOpen = false;
      }
      Log(LogLevel::kWarning, "the sound device failed; opening the default device again");
      outcome = OpenDevice(text, deviceRate);
      if (outcome != Outcome::kSpoken) return outcome;
      {
        std::lock_guard lock(mutex);
        reopenedSilent = true;
      }
      while (outcome == Outcome::kSpoken && !unplayed.empty()) {
        std::vector<std::int16_t> block = std::move(unplayed.front());
        unplayed.pop_front();
        outcome = WriteBlock(text, std::move(block));
      }
    }
    return outcome;
  }

  // Waits until `ready` (checked under `mutex`), the text is cancelled, or the device stalls: no
  // block done for the queued audio's length plus the grace, while not paused.
  template <typename Ready>
  Outcome WaitFor(unsigned long long text, int deviceRate, Ready ready) {
    std::unique_lock lock(mutex);
    for (;;) {
      if (Cancelled(text)) return Outcome::kCancelled;
      if (ready()) return Outcome::kSpoken;
      if (paused || queuedBlocks.empty()) {
        wake.wait(lock);
        continue;
      }
      const auto deadline = lastProgress + std::chrono::milliseconds(queuedSamples * 1000 / deviceRate) +
                            std::chrono::milliseconds(timing.stallGraceMs);
      if (Clock::now() >= deadline) return Outcome::kDeviceFailed;
      wake.wait_until(lock, deadline);
    }
  }

  void Finish(void* window, unsigned long long text, Outcome outcome) noexcept {
    std::lock_guard controlLock(control);
    const bool current = !Cancelled(text);
    if (deviceOpen) {
      // A text played to its end has nothing queued; anything else may still sound.
      if (outcome != Outcome::kSpoken || !current) device.Reset();
      device.Close();
      deviceOpen = false;
    }
    {
      std::lock_guard lock(mutex);
      ++session;
      queuedBlocks.clear();
      queuedSamples = 0;
      reopenedSilent = false;
      if (current) {
        running = false;
        paused = false;
      }
    }
    if (!current) return;
    if (outcome == Outcome::kDeviceFailed) host.OnDeviceFailure();
    host.OnSpoken(window);
  }
};

SpeechPlayer::SpeechPlayer(Synthesiser& synthesiser, AudioDevice& device, PlayerHost& host, PlayerTiming timing)
    : state_(std::make_unique<State>(synthesiser, device, host, timing)) {
  state_->worker = std::thread([state = state_.get()] { state->Run(); });
}

SpeechPlayer::~SpeechPlayer() {
  try {
    {
      std::lock_guard controlLock(state_->control);
      {
        std::lock_guard lock(state_->mutex);
        state_->quit = true;
        ++state_->generation;
        state_->pending.reset();
        state_->running = false;
        state_->wake.notify_all();
      }
      if (state_->deviceOpen) state_->device.Reset();
    }
    state_->worker.join();
  } catch (...) {
    LogCaught("ending the player");
  }
}

void SpeechPlayer::Speak(SpeechOrder order) {
  try {
    std::lock_guard controlLock(state_->control);
    {
      std::lock_guard lock(state_->mutex);
      ++state_->generation;
      state_->pending = std::move(order);
      state_->running = true;
      state_->paused = false;
      state_->wake.notify_all();
    }
    // The text before is silenced here; its worker closes the device before the new one opens it.
    if (state_->deviceOpen) state_->device.Reset();
  } catch (...) {
    LogCaught("starting a text");
  }
}

void SpeechPlayer::Pause() {
  try {
    std::lock_guard controlLock(state_->control);
    {
      std::lock_guard lock(state_->mutex);
      if (!state_->running || state_->paused) return;
      state_->paused = true;
    }
    if (state_->deviceOpen) state_->device.Pause();
  } catch (...) {
    LogCaught("pausing the speech");
  }
}

void SpeechPlayer::Resume() {
  try {
    std::lock_guard controlLock(state_->control);
    {
      std::lock_guard lock(state_->mutex);
      if (!state_->running || !state_->paused) return;
      state_->paused = false;
      // The time spent paused does not count towards a stall.
      state_->lastProgress = Clock::now();
      state_->wake.notify_all();
    }
    if (state_->deviceOpen) state_->device.Resume();
  } catch (...) {
    LogCaught("resuming the speech");
  }
}

void SpeechPlayer::Stop() {
  try {
    std::lock_guard controlLock(state_->control);
    {
      std::lock_guard lock(state_->mutex);
      if (!state_->running) return;
      ++state_->generation;
      state_->pending.reset();
      state_->running = false;
      state_->paused = false;
      state_->wake.notify_all();
    }
    if (state_->deviceOpen) state_->device.Reset();
  } catch (...) {
    LogCaught("stopping the speech");
  }
}

}  // namespace ostrel::orvatone
