// One language's player: renders the utterances of a text one after another on its own thread,
// while the previous one plays, and plays them with the speaker's pauses between them; a voice
// that hands its sound over in pieces is heard from its first piece. It pauses,
// resumes and stops exactly and reports the end of a text once, after its last sample.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "audio_device.h"
#include "synthesiser.h"
#include "utterance.h"

namespace ostrel::orvatone {

// Called on the player's thread, OnSpoken and OnDeviceFailure while the player holds the lock that
// Speak, Pause, Resume and Stop take (that is what keeps a stopped text's end from being reported):
// a host only records and posts, and never calls back into the player.
class PlayerHost {
 public:
  virtual ~PlayerHost() = default;
  // On the player's thread, once for each utterance handed to the synthesiser (the journal).
  virtual void OnUtterance(std::u16string_view spokenText) noexcept = 0;
  // The text has been played to its last sample (or could not be played at all).
  virtual void OnSpoken(void* window) noexcept = 0;
  // First and last on the player's thread, around every other call: what the platform keeps per
  // thread (a COM apartment) is made and ended here, in the open rather than by thread-local
  // destructors that run in no order the program controls.
  virtual void OnThreadStarted() noexcept {}
  virtual void OnThreadEnding() noexcept {}
  // The device could not be opened, or failed while playing and could not be opened again; the
  // text ends as spoken.
  virtual void OnDeviceFailure() noexcept = 0;
};

struct SpeechOrder {
  void* window = nullptr;  // whom OnSpoken names
  // Runs on the player's thread, so a long text never holds up the caller.
  std::function<std::vector<Utterance>()> utterances;
  Prosody prosody;
  int volume = 100;    // percent, applied to the samples
  int pauseMs = 0;     // after an utterance that ends a sentence
  int commaPauseMs = 0;  // after an utterance that ends at a comma
};

// How far the player runs ahead of the device, and how long it trusts a device that reports nothing.
struct PlayerTiming {
  int blockMs = 100;          // one device block
  int queuedMs = 1000;        // audio written to the device and not yet played, at most
  int stallGraceMs = 5000;    // beyond the queued audio's length without a block done: the device failed
};

class SpeechPlayer {
 public:
  // Starts the player's thread (std::system_error when it cannot).
  SpeechPlayer(Synthesiser& synthesiser, AudioDevice& device, PlayerHost& host, PlayerTiming timing = {});
  ~SpeechPlayer();  // stops and ends the thread
  SpeechPlayer(const SpeechPlayer&) = delete;
  SpeechPlayer& operator=(const SpeechPlayer&) = delete;

  // A text already running is stopped first (no OnSpoken for it).
  void Speak(SpeechOrder order);
  void Pause();
  void Resume();
  // Silent at once, rendering cancelled, no OnSpoken for the text.
  void Stop();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace ostrel::orvatone
