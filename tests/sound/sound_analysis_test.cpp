#include "sound_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace sound {
namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979;

using Samples = std::vector<int16_t>;

void AddSilence(Samples& s, double seconds, int rate = kRate) {
  s.insert(s.end(), static_cast<size_t>(seconds * rate), int16_t{0});
}

// A tone with a few harmonics, as a voice has; the second is the strongest, the classic trap
// for pitch trackers that take the first autocorrelation peak they see.
void AddTone(Samples& s, double seconds, double hz, double amplitude, int rate = kRate, bool harmonics = false) {
  const auto n = static_cast<size_t>(seconds * rate);
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    double x = std::sin(2 * kPi * hz * t);
    if (harmonics) x = 0.5 * x + 0.8 * std::sin(2 * kPi * 2 * hz * t + 0.3) + 0.3 * std::sin(2 * kPi * 3 * hz * t + 1.1);
    s.push_back(static_cast<int16_t>(std::lround(std::clamp(amplitude * x, -1.0, 1.0) * 32767)));
  }
}

void AddNoise(Samples& s, double amplitude, unsigned seed = 7) {
  std::mt19937 random(seed);
  std::normal_distribution<double> noise(0, amplitude * 32767);
  for (int16_t& x : s) x = static_cast<int16_t>(std::clamp(x + std::lround(noise(random)), -32768L, 32767L));
}

Samples Scaled(const Samples& s, double factor) {
  Samples out;
  for (int16_t x : s) out.push_back(static_cast<int16_t>(std::lround(x * factor)));
  return out;
}

TEST(SoundAnalysis, ToneBetweenSilencesHasItsLengthLevelPitchAndPlace) {
  Samples s;
  AddSilence(s, 0.5);
  AddTone(s, 1.0, 220, 0.5);
  AddSilence(s, 0.5);
  const Analysis a = Analyse(s, kRate);
  EXPECT_NEAR(a.totalSeconds, 2.0, 0.001);
  EXPECT_NEAR(a.voicedSeconds, 1.0, 0.02);
  EXPECT_NEAR(a.voicedRms, 0.5 / std::sqrt(2.0), 0.01);
  EXPECT_NEAR(a.f0Hz, 220, 1);
  EXPECT_NEAR(a.pitchedSeconds, 1.0, 0.1);
  ASSERT_TRUE(a.firstVoiced && a.lastVoiced);
  EXPECT_NEAR(*a.firstVoiced, 0.5, 0.002);
  EXPECT_NEAR(*a.lastVoiced, 1.5, 0.002);
  EXPECT_TRUE(a.gaps.empty());
}

TEST(SoundAnalysis, SilenceHasNoVoiceNoPitchAndNoPlace) {
  Samples s;
  AddSilence(s, 1.0);
  const Analysis a = Analyse(s, kRate);
  EXPECT_EQ(a.voicedSeconds, 0);
  EXPECT_EQ(a.f0Hz, 0);
  EXPECT_FALSE(a.firstVoiced);
  EXPECT_TRUE(a.gaps.empty());
}

struct PitchCase {
  double hz;
  int rate;
  bool harmonics;
};

class Pitch : public ::testing::TestWithParam<PitchCase> {};

TEST_P(Pitch, MedianFundamentalIsTheToneAndNotAHarmonic) {
  const PitchCase c = GetParam();
  Samples s;
  AddSilence(s, 0.2, c.rate);
  AddTone(s, 0.8, c.hz, 0.4, c.rate, c.harmonics);
  AddSilence(s, 0.2, c.rate);
  EXPECT_NEAR(Analyse(s, c.rate).f0Hz, c.hz, c.hz * 0.01);
}

INSTANTIATE_TEST_SUITE_P(SpeechRange, Pitch,
                         ::testing::Values(PitchCase{80, kRate, false}, PitchCase{100, kRate, true},
                                           PitchCase{150, kRate, true}, PitchCase{300, kRate, true},
                                           PitchCase{450, kRate, false}, PitchCase{120, 16000, true},
                                           PitchCase{200, 44100, true}),
                         [](const ::testing::TestParamInfo<PitchCase>& param) {
                           const PitchCase& c = param.param;
                           return std::to_string(static_cast<int>(c.hz)) + "Hz_at_" + std::to_string(c.rate) +
                                  (c.harmonics ? "_with_harmonics" : "_pure");
                         });

TEST(SoundAnalysis, PitchRatioOfTwoVoicesIsTheirFrequencyRatio) {
  Samples low, high;
  AddTone(low, 0.6, 110, 0.4, kRate, true);
  AddTone(high, 0.6, 165, 0.4, kRate, true);
  EXPECT_NEAR(Analyse(high, kRate).f0Hz / Analyse(low, kRate).f0Hz, 1.5, 0.02);
}

TEST(SoundAnalysis, WhiteNoiseIsLoudButHasNoPitch) {
  Samples s;
  AddSilence(s, 1.0);
  AddNoise(s, 0.2);  // nothing else: the recording never falls quiet
  const Analysis a = Analyse(s, kRate);
  EXPECT_GT(a.voicedSeconds, 0.9);
  EXPECT_LT(a.pitchedSeconds, 0.1);
}

TEST(SoundAnalysis, GapsLongerThanTheLimitAreListedWithStartAndLength) {
  Samples s;
  AddTone(s, 0.5, 200, 0.5);
  AddSilence(s, 0.4);
  AddTone(s, 0.5, 200, 0.5);
  AddSilence(s, 0.15);  // a comma's pause: under the limit
  AddTone(s, 0.5, 200, 0.5);
  AddSilence(s, 1.0);  // after the end: not a gap
  const Analysis a = Analyse(s, kRate, {.thresholdDb = std::nullopt, .gapMs = 300});
  ASSERT_EQ(a.gaps.size(), 1u);
  EXPECT_NEAR(a.gaps[0].start, 0.5, 0.011);
  EXPECT_NEAR(a.gaps[0].length, 0.4, 0.011);
  EXPECT_EQ(Analyse(s, kRate, {.thresholdDb = std::nullopt, .gapMs = 100}).gaps.size(), 2u);
  EXPECT_NEAR(a.voicedSeconds, 1.5, 0.03);
}

TEST(SoundAnalysis, NoiseFloorDoesNotCountAsVoice) {
  Samples s;
  AddSilence(s, 1.0);
  AddTone(s, 1.0, 180, 0.3);
  AddSilence(s, 1.0);
  AddNoise(s, 0.003);  // about -50 dB: a hiss under the whole recording
  const Analysis a = Analyse(s, kRate);
  EXPECT_NEAR(a.voicedSeconds, 1.0, 0.03);
  EXPECT_GT(a.thresholdDb, a.noiseFloorDb);
  EXPECT_NEAR(a.f0Hz, 180, 2);
  ASSERT_TRUE(a.firstVoiced);
  EXPECT_NEAR(*a.firstVoiced, 1.0, 0.01);
}

TEST(SoundAnalysis, HalfTheVolumeHalvesTheLevelAndKeepsTheLength) {
  Samples s;
  AddSilence(s, 0.3);
  AddTone(s, 0.3, 150, 0.6, kRate, true);
  AddTone(s, 0.3, 150, 0.15, kRate, true);  // a quieter syllable
  AddSilence(s, 0.3);
  const Analysis full = Analyse(s, kRate), half = Analyse(Scaled(s, 0.5), kRate);
  EXPECT_NEAR(half.voicedRms / full.voicedRms, 0.5, 0.01);
  EXPECT_NEAR(half.voicedSeconds, full.voicedSeconds, 0.011);
}

TEST(SoundAnalysis, FixedThresholdOverridesTheDerivedOne) {
  Samples s;
  AddSilence(s, 0.5);
  AddTone(s, 0.5, 200, 0.5);
  AddTone(s, 0.5, 200, 0.01);  // -43 dB: voiced against the tone, silent against -30 dB
  EXPECT_NEAR(Analyse(s, kRate).voicedSeconds, 1.0, 0.02);
  EXPECT_NEAR(Analyse(s, kRate, {.thresholdDb = -30, .gapMs = 300}).voicedSeconds, 0.5, 0.02);
}

TEST(SoundAnalysis, TrailingSilenceCountsOnlyTheEnd) {
  Samples s;
  AddSilence(s, 0.5);
  AddTone(s, 0.2, 200, 0.5);
  AddSilence(s, 0.3);
  EXPECT_NEAR(TrailingSilence(s, kRate, -60), 0.3, 0.011);
  Samples quiet;
  AddSilence(quiet, 0.7);
  EXPECT_NEAR(TrailingSilence(quiet, kRate, -60), 0.7, 0.001);
  EXPECT_EQ(TrailingSilence({}, kRate, -60), 0);
}

// Arrivals of a recorder that reads 10 ms fragments late by 8 to 60 ms, the sound clock running
// `ppm` fast against the host's.
RecordingClock ClockOfJitteryRecorder(double startMs, double seconds, double ppm) {
  RecordingClock clock(kRate);
  std::mt19937 random(3);
  std::uniform_real_distribution<double> late(8, 60);
  const uint64_t fragment = kRate / 100;
  for (uint64_t n = fragment; n < static_cast<uint64_t>(seconds * kRate); n += fragment) {
    const double played = startMs + static_cast<double>(n) * 1000 / kRate / (1 + ppm * 1e-6);
    clock.AddArrival(n, played + (n % (fragment * 37) == 0 ? 8 : late(random)));
  }
  return clock;
}

TEST(RecordingClock, PlacesSamplesOnTheHostClockWithinTheFastestArrival) {
  const RecordingClock clock = ClockOfJitteryRecorder(1000, 20, 0);
  EXPECT_NEAR(*clock.HostMs(0), 1008, 1);
  EXPECT_NEAR(*clock.HostMs(12.5), 1000 + 12500 + 8, 1);
  EXPECT_NEAR(*clock.Seconds(1000 + 12500 + 8), 12.5, 0.001);
  EXPECT_NEAR(*clock.Seconds(500), -0.508, 0.001);  // before the recording began
}

TEST(RecordingClock, FollowsASoundClockThatDriftsFromTheHost) {
  // 400 ppm was seen between clocks on a virtual machine: 24 ms over a minute.
  const RecordingClock clock = ClockOfJitteryRecorder(0, 60, 400);
  const double played = 55.0 * 1000 / (1 + 400e-6);
  EXPECT_NEAR(*clock.HostMs(55), played + 8, 2);
  EXPECT_NEAR(*clock.Seconds(played + 8), 55, 0.002);
}

TEST(RecordingClock, SurvivesItsFileForm) {
  const RecordingClock clock = ClockOfJitteryRecorder(250, 5, 0);
  const auto again = RecordingClock::Parse(clock.Serialise());
  ASSERT_TRUE(again);
  EXPECT_EQ(again->Rate(), kRate);
  EXPECT_NEAR(*again->HostMs(3.3), *clock.HostMs(3.3), 0.01);
  EXPECT_FALSE(RecordingClock::Parse("nonsense"));
  EXPECT_FALSE(RecordingClock(kRate).HostMs(1));
}

}  // namespace
}  // namespace sound
