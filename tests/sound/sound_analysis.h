// Measures a mono 16-bit recording of what the program played: how long it sounded, how loud,
// at what pitch, and where it fell silent. The end-to-end tests compare these figures between
// readings, so each is defined to move with the setting it checks and little else.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace sound {

struct Gap {
  double start = 0;   // seconds from the start of the analysed part
  double length = 0;  // seconds
};

struct AnalysisOptions {
  std::optional<double> thresholdDb;  // fixed voicing threshold; otherwise derived from the signal
  double gapMs = 300;                 // silences at least this long inside the sound are listed
};

struct Analysis {
  int rate = 0;
  double totalSeconds = 0;
  double noiseFloorDb = 0;
  double thresholdDb = 0;
  double voicedSeconds = 0;
  double voicedRms = 0;       // full scale = 1
  double f0Hz = 0;            // median over pitched frames; 0 when none
  double pitchedSeconds = 0;  // frames that had a pitch (part of the voiced ones)
  std::optional<double> firstVoiced;  // seconds; none when nothing sounded
  std::optional<double> lastVoiced;   // the end of the last sample above the threshold
  std::vector<Gap> gaps;
};

inline constexpr double kFrameSeconds = 0.010;
inline constexpr double kSilenceDb = -120;  // the level given to digital silence

// Level of each 10 ms frame in dB relative to full scale (a full-scale square wave is 0 dB).
std::vector<double> FrameLevels(std::span<const int16_t> samples, int rate);

// The voicing threshold: above the noise floor, and within reach of the loud part, so that a
// louder or quieter copy of the same sound has the same frames voiced.
double VoicingThreshold(const std::vector<double>& levels, double* noiseFloorDb = nullptr);

Analysis Analyse(std::span<const int16_t> samples, int rate, const AnalysisOptions& options = {});

// Fundamental frequency of the sound starting at `from` (YIN, 60 to 600 Hz); none when the
// frame is not periodic enough.
std::optional<double> FundamentalFrequency(std::span<const int16_t> samples, size_t from, int rate);

// How long the end of the recording has been silent, in seconds (the whole length when it never
// sounded). The threshold is fixed, since a live recording's own level is not yet known.
double TrailingSilence(std::span<const int16_t> samples, int rate, double thresholdDb);

// Maps positions in a recording to the host's CLOCK_MONOTONIC_RAW milliseconds, which is the
// clock of Wine's GetTickCount64 (the engine's journal). Built from the arrival times of the
// recorder's reads: a sample can only arrive after it was played, so the lower envelope of
// (arrival - position) is the best estimate of when each sample was played, late by at most
// the recorder's fragment. Local envelopes follow the drift between the sound clock and the host.
class RecordingClock {
 public:
  explicit RecordingClock(int rate) : rate_(rate) {}
  int Rate() const { return rate_; }
  void AddArrival(uint64_t samplesSoFar, double arrivalMs);
  bool Empty() const { return points_.empty(); }
  // Host milliseconds at which the sample at `seconds` into the recording was played.
  std::optional<double> HostMs(double seconds) const;
  // Seconds into the recording played at host millisecond `ms` (may be outside the recording).
  std::optional<double> Seconds(double hostMs) const;
  // One "samples arrivalMs" line per kept point; Parse reads the same back.
  std::string Serialise() const;
  static std::optional<RecordingClock> Parse(const std::string& text);

 private:
  struct Point {
    uint64_t samples;
    double ms;  // arrival - samples / rate, in ms: the played time of sample 0 as this read bounds it
  };
  std::optional<double> StartMsNear(double seconds) const;
  int rate_;
  std::vector<Point> points_;  // one per window of arrivals, the lowest of it
};

}  // namespace sound
