#include "sound_analysis.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace sound {
namespace {

constexpr double kAbsoluteFloorDb = -65;  // quieter than any speech the tests ask for
constexpr double kAboveNoiseDb = 10;
constexpr double kBelowLoudDb = 40;
constexpr double kSoundRangeDb = 20;
constexpr double kLowestF0 = 60;
constexpr double kHighestF0 = 600;
constexpr double kYinThreshold = 0.15;
constexpr double kPitchHopSeconds = 0.020;
constexpr double kClockWindowSeconds = 0.25;
constexpr double kClockReachSeconds = 1.5;

size_t FrameLength(int rate) { return std::max<size_t>(1, static_cast<size_t>(std::lround(rate * kFrameSeconds))); }

double ToDb(double meanSquare) {
  return meanSquare > 0 ? std::max(kSilenceDb, 10 * std::log10(meanSquare)) : kSilenceDb;
}

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return kSilenceDb;
  const auto k = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1));
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
  return values[k];
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  const size_t mid = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid), values.end());
  return values[mid];
}

double Amplitude(double db) { return 32768.0 * std::pow(10.0, db / 20); }

}  // namespace

std::vector<double> FrameLevels(std::span<const int16_t> samples, int rate) {
  const size_t frame = FrameLength(rate);
  std::vector<double> levels;
  levels.reserve(samples.size() / frame + 1);
  for (size_t start = 0; start < samples.size(); start += frame) {
    const size_t end = std::min(samples.size(), start + frame);
    double sum = 0;
    for (size_t i = start; i < end; ++i) {
      const double x = samples[i] / 32768.0;
      sum += x * x;
    }
    levels.push_back(ToDb(sum / static_cast<double>(end - start)));
  }
  return levels;
}

double VoicingThreshold(const std::vector<double>& levels, double* noiseFloorDb) {
  // The quietest tenth is the noise, the loudest hundredth the voice: a single click or a
  // single gap does not move either. A recording that never falls quiet has no noise floor to
  // speak of; its quietest tenth is then part of the sound.
  const double floor = Percentile(levels, 0.10);
  const double loud = Percentile(levels, 0.99);
  if (noiseFloorDb) *noiseFloorDb = floor;
  return std::max({kAbsoluteFloorDb, loud - kBelowLoudDb, std::min(floor + kAboveNoiseDb, loud - kSoundRangeDb)});
}

std::optional<double> FundamentalFrequency(std::span<const int16_t> samples, size_t from, int rate) {
  const auto minLag = static_cast<size_t>(rate / kHighestF0);
  const auto maxLag = static_cast<size_t>(rate / kLowestF0) + 1;
  const size_t window = maxLag;  // one period of the lowest pitch, the shortest that still finds it
  if (from + window + maxLag + 1 > samples.size()) return std::nullopt;
  // YIN: the difference function, normalised by its running mean, first dips under the
  // threshold at the period; harmonics dip later and are not taken.
  std::vector<double> d(maxLag + 2, 0.0);
  for (size_t lag = 1; lag <= maxLag + 1; ++lag) {
    double sum = 0;
    for (size_t j = 0; j < window; ++j) {
      const double diff = static_cast<double>(samples[from + j]) - samples[from + j + lag];
      sum += diff * diff;
    }
    d[lag] = sum;
  }
  std::vector<double> normal(maxLag + 2, 1.0);
  double running = 0;
  for (size_t lag = 1; lag <= maxLag + 1; ++lag) {
    running += d[lag];
    normal[lag] = running > 0 ? d[lag] * static_cast<double>(lag) / running : 1.0;
  }
  for (size_t lag = std::max<size_t>(minLag, 2); lag <= maxLag; ++lag) {
    if (normal[lag] >= kYinThreshold) continue;
    while (lag + 1 <= maxLag && normal[lag + 1] < normal[lag]) ++lag;
    // A parabola through the dip and its neighbours places the period between samples.
    const double a = normal[lag - 1], b = normal[lag], c = normal[lag + 1];
    const double denominator = a - 2 * b + c;
    const double shift = denominator > 0 ? 0.5 * (a - c) / denominator : 0.0;
    return rate / (static_cast<double>(lag) + std::clamp(shift, -0.5, 0.5));
  }
  return std::nullopt;
}

Analysis Analyse(std::span<const int16_t> samples, int rate, const AnalysisOptions& options) {
  Analysis result;
  result.rate = rate;
  result.totalSeconds = static_cast<double>(samples.size()) / rate;
  const size_t frame = FrameLength(rate);
  const std::vector<double> levels = FrameLevels(samples, rate);
  result.thresholdDb = VoicingThreshold(levels, &result.noiseFloorDb);
  if (options.thresholdDb) result.thresholdDb = *options.thresholdDb;

  double voicedSquares = 0;
  size_t voicedSamples = 0;
  std::vector<bool> voiced(levels.size(), false);
  for (size_t f = 0; f < levels.size(); ++f) {
    if (levels[f] < result.thresholdDb) continue;
    voiced[f] = true;
    const size_t end = std::min(samples.size(), (f + 1) * frame);
    for (size_t i = f * frame; i < end; ++i) {
      const double x = samples[i] / 32768.0;
      voicedSquares += x * x;
    }
    voicedSamples += end - f * frame;
  }
  result.voicedSeconds = static_cast<double>(voicedSamples) / rate;
  result.voicedRms = voicedSamples ? std::sqrt(voicedSquares / static_cast<double>(voicedSamples)) : 0.0;
  if (!voicedSamples) return result;

  // The first and last sample loud enough, looked for around the first and last voiced frame:
  // latency is measured from these, so a frame's 10 ms would be too coarse.
  const auto first = static_cast<size_t>(std::find(voiced.begin(), voiced.end(), true) - voiced.begin());
  const size_t last = voiced.size() - 1 - static_cast<size_t>(std::find(voiced.rbegin(), voiced.rend(), true) - voiced.rbegin());
  const double loud = Amplitude(result.thresholdDb);
  auto isLoud = [&](size_t i) { return std::abs(static_cast<double>(samples[i])) >= loud; };
  size_t firstSample = first * frame;
  for (size_t i = first > 0 ? (first - 1) * frame : 0, end = std::min(samples.size(), (first + 1) * frame); i < end; ++i) {
    if (isLoud(i)) { firstSample = i; break; }
  }
  size_t lastEnd = std::min(samples.size(), (last + 1) * frame);
  for (size_t i = std::min(samples.size(), (last + 2) * frame); i > last * frame; --i) {
    if (isLoud(i - 1)) { lastEnd = i; break; }
  }
  result.firstVoiced = static_cast<double>(firstSample) / rate;
  result.lastVoiced = static_cast<double>(lastEnd) / rate;

  for (size_t f = first; f <= last;) {
    if (voiced[f]) { ++f; continue; }
    const size_t start = f;
    while (f <= last && !voiced[f]) ++f;
    const double length = static_cast<double>((f - start) * frame) / rate;
    if (length * 1000 >= options.gapMs - 1e-9) result.gaps.push_back({static_cast<double>(start * frame) / rate, length});
  }

  std::vector<double> pitches;
  const auto hop = static_cast<size_t>(std::lround(rate * kPitchHopSeconds));
  for (size_t start = first * frame; start < last * frame; start += hop) {
    if (!voiced[start / frame]) continue;
    if (auto f0 = FundamentalFrequency(samples, start, rate)) pitches.push_back(*f0);
  }
  result.pitchedSeconds = static_cast<double>(pitches.size()) * kPitchHopSeconds;
  result.f0Hz = Median(pitches);
  return result;
}

double TrailingSilence(std::span<const int16_t> samples, int rate, double thresholdDb) {
  const std::vector<double> levels = FrameLevels(samples, rate);
  size_t quiet = 0;
  while (quiet < levels.size() && levels[levels.size() - 1 - quiet] < thresholdDb) ++quiet;
  if (quiet == levels.size()) return static_cast<double>(samples.size()) / rate;
  return static_cast<double>(quiet * FrameLength(rate)) / rate;
}

void RecordingClock::AddArrival(uint64_t samplesSoFar, double arrivalMs) {
  const double start = arrivalMs - static_cast<double>(samplesSoFar) * 1000 / rate_;
  const auto window = static_cast<uint64_t>(rate_ * kClockWindowSeconds);
  if (!points_.empty() && points_.back().samples / window == samplesSoFar / window) {
    if (start < points_.back().ms) points_.back() = {samplesSoFar, start};
    return;
  }
  points_.push_back({samplesSoFar, start});
}

std::optional<double> RecordingClock::StartMsNear(double seconds) const {
  if (points_.empty()) return std::nullopt;
  const double reach = kClockReachSeconds * rate_;
  const double at = seconds * rate_;
  std::optional<double> best;
  double nearest = 0, nearestDistance = -1;
  for (const Point& p : points_) {
    const double distance = std::abs(static_cast<double>(p.samples) - at);
    if (distance <= reach && (!best || p.ms < *best)) best = p.ms;
    if (nearestDistance < 0 || distance < nearestDistance) nearestDistance = distance, nearest = p.ms;
  }
  return best ? best : nearest;
}

std::optional<double> RecordingClock::HostMs(double seconds) const {
  const auto start = StartMsNear(seconds);
  if (!start) return std::nullopt;
  return *start + seconds * 1000;
}

std::optional<double> RecordingClock::Seconds(double hostMs) const {
  auto start = StartMsNear(0);
  if (!start) return std::nullopt;
  double seconds = (hostMs - *start) / 1000;
  // Twice: the first guess picks the neighbourhood, the second reads the clock there.
  for (int i = 0; i < 2; ++i) seconds = (hostMs - *StartMsNear(seconds)) / 1000;
  return seconds;
}

std::string RecordingClock::Serialise() const {
  std::ostringstream out;
  out.precision(15);
  out << "rate " << rate_ << '\n';
  for (const Point& p : points_) out << p.samples << ' ' << p.ms + static_cast<double>(p.samples) * 1000 / rate_ << '\n';
  return out.str();
}

std::optional<RecordingClock> RecordingClock::Parse(const std::string& text) {
  std::istringstream in(text);
  std::string word;
  int rate = 0;
  if (!(in >> word >> rate) || word != "rate" || rate <= 0) return std::nullopt;
  RecordingClock clock(rate);
  uint64_t samples = 0;
  double arrival = 0;
  while (in >> samples >> arrival) clock.AddArrival(samples, arrival);
  return clock;
}

}  // namespace sound
