#include "pcm.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

namespace ostrel::orvatone {

namespace {

// 1 % of full scale: below what any voice speaks at, above the hiss some voices leave around it.
constexpr int kSilenceThreshold = 327;
// Kept on both sides of the speech so that a soft onset or a trailing breath is not cut off.
constexpr int kTrimMarginMs = 10;

bool Audible(std::int16_t sample) { return std::abs(static_cast<int>(sample)) > kSilenceThreshold; }

std::size_t MarginSamples(int sampleRate) {
  return sampleRate > 0 ? static_cast<std::size_t>(static_cast<long long>(sampleRate) * kTrimMarginMs / 1000) : 0;
}

}  // namespace

SilenceTrim::SilenceTrim(int sampleRate) : margin_(MarginSamples(sampleRate)) {}

std::vector<std::int16_t> SilenceTrim::Take(std::span<const std::int16_t> part) {
  std::vector<std::int16_t> all = std::move(held_);
  held_.clear();
  all.insert(all.end(), part.begin(), part.end());
  const auto first = std::find_if(all.begin(), all.end(), Audible);
  if (first == all.end()) {
    // Before any sound only the margin ahead of it can ever be played.
    if (!heard_ && all.size() > margin_) all.erase(all.begin(), all.end() - static_cast<std::ptrdiff_t>(margin_));
    held_ = std::move(all);
    return {};
  }
  const auto last = std::find_if(all.rbegin(), all.rend(), Audible).base();
  held_.assign(last, all.end());
  all.erase(last, all.end());
  if (!heard_) {
    const auto begin = static_cast<std::size_t>(first - all.begin());
    all.erase(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(begin > margin_ ? begin - margin_ : 0));
  }
  heard_ = true;
  return all;
}

std::vector<std::int16_t> SilenceTrim::Finish() {
  if (!heard_) return {};
  held_.resize(std::min(held_.size(), margin_));
  return std::move(held_);
}

void TrimSilence(Pcm& pcm) {
  auto& samples = pcm.samples;
  const auto first = std::find_if(samples.begin(), samples.end(), Audible);
  if (first == samples.end()) {
    samples.clear();
    return;
  }
  const auto last = std::find_if(samples.rbegin(), samples.rend(), Audible).base();
  const std::size_t margin = MarginSamples(pcm.sampleRate);
  const std::size_t begin = static_cast<std::size_t>(first - samples.begin());
  const std::size_t end = static_cast<std::size_t>(last - samples.begin());
  const std::size_t keepBegin = begin > margin ? begin - margin : 0;
  const std::size_t keepEnd = std::min(samples.size(), end + std::min(margin, samples.size() - end));
  samples.erase(samples.begin() + static_cast<std::ptrdiff_t>(keepEnd), samples.end());
  samples.erase(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(keepBegin));
}

void ApplyVolume(std::span<std::int16_t> samples, int volume) {
  if (volume == 100) return;
  const long long factor = std::max(volume, 0);
  for (auto& sample : samples) {
    const long long scaled = sample * factor / 100;
    sample = static_cast<std::int16_t>(std::clamp<long long>(scaled, std::numeric_limits<std::int16_t>::min(),
                                                             std::numeric_limits<std::int16_t>::max()));
  }
}

void Resample(Pcm& pcm, int targetRate) {
  if (pcm.sampleRate <= 0 || targetRate <= 0 || pcm.sampleRate == targetRate) return;
  const long long from = pcm.sampleRate;
  const long long to = targetRate;
  const auto& in = pcm.samples;
  const long long inCount = static_cast<long long>(in.size());
  std::vector<std::int16_t> out(static_cast<std::size_t>(inCount * to / from));
  for (std::size_t i = 0; i < out.size(); ++i) {
    // Exact position in the source as index + remainder / to, in integers so long buffers do not drift.
    const long long position = static_cast<long long>(i) * from;
    const long long index = position / to;
    const long long remainder = position % to;
    const long long a = in[static_cast<std::size_t>(index)];
    const long long b = index + 1 < inCount ? in[static_cast<std::size_t>(index + 1)] : a;
    out[i] = static_cast<std::int16_t>(a + (b - a) * remainder / to);
  }
  pcm.samples = std::move(out);
  pcm.sampleRate = targetRate;
}

}  // namespace ostrel::orvatone
