#include "prosody_mapping.h"

#include <algorithm>
#include <cmath>

namespace ostrel::orvatone {

namespace {

// Percent as a ratio; nonsense (zero or below) as the normal value.
double Ratio(int percent) { return percent > 0 ? percent / 100.0 : 1.0; }

int Clamped(double value, int low, int high) {
  return static_cast<int>(std::clamp(std::lround(value), static_cast<long>(low), static_cast<long>(high)));
}

constexpr double kEspeakNormalWordsPerMinute = 175.0;
constexpr double kEspeakPitchStepsPerOctave = 63.7;  // measured on espeak-ng 1.51's voices

}  // namespace

int EspeakWordsPerMinute(int speedPercent) {
  return Clamped(kEspeakNormalWordsPerMinute * Ratio(speedPercent), 80, 450);
}

int EspeakPitch(int pitchPercent) {
  return Clamped(50.0 + kEspeakPitchStepsPerOctave * std::log2(Ratio(pitchPercent)), 0, 99);
}

int SapiRate(int speedPercent) { return Clamped(10.0 * std::log(Ratio(speedPercent)) / std::log(3.0), -10, 10); }

int SapiPitch(int pitchPercent) { return Clamped(12.0 * std::log2(Ratio(pitchPercent)), -10, 10); }

}  // namespace ostrel::orvatone
