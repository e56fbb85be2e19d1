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

// Scales by `volume` percent (100 leaves the samples alone; above it amplifies), saturating
// at the 16-bit limits instead of wrapping around. Negative volumes count as 0.
void ApplyVolume(std::span<std::int16_t> samples, int volume);

// Linear interpolation to `targetRate`, for a voice whose rate differs from the one the device was
// opened with. Leaves the buffer alone when either rate is not positive.
void Resample(Pcm& pcm, int targetRate);

}  // namespace ostrel::orvatone
