// Mono 16-bit PCM, the one sound format between the synthesisers and the player.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ostrel::orvatone {

struct Pcm {
  int sampleRate = 0;  // samples per second
  std::vector<std::int16_t> samples;
};

// Drops the near-silence a synthesiser leaves before and after the speech, so that the pause
// values alone decide how long the gaps between utterances are.
void TrimSilence(Pcm& pcm);

// TrimSilence for sound that arrives in parts: what it hands on, part after part and then at the
// end, is exactly what TrimSilence leaves of the whole. Silence is held back until sound follows it.
class SilenceTrim {
 public:
  explicit SilenceTrim(int sampleRate);
  // The samples that can be played now.
  std::vector<std::int16_t> Take(std::span<const std::int16_t> part);
  // The end of the utterance: the margin kept after its last sound.
  std::vector<std::int16_t> Finish();

 private:
  std::size_t margin_;
  bool heard_ = false;
  std::vector<std::int16_t> held_;
};

// Scales by `volume` percent (100 leaves the samples alone; above it amplifies), saturating
// at the 16-bit limits instead of wrapping around. Negative volumes count as 0.
void ApplyVolume(std::span<std::int16_t> samples, int volume);

// Linear interpolation to `targetRate`, for a voice whose rate differs from the one the device was
// opened with. Leaves the buffer alone when either rate is not positive.
void Resample(Pcm& pcm, int targetRate);

}  // namespace ostrel::orvatone
