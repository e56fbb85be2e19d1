#include "reading/copy_keys.h"

namespace ostrel {
namespace {

constexpr int kKeyA = 0x41;
constexpr int kKeyC = 0x43;
constexpr int kDispatchRounds = 10;
constexpr int kDispatchSleepMs = 100;

void AddChord(std::vector<KeyStep>& steps, int virtualKey) {
  for (int round = 0; round < kDispatchRounds; ++round) {
    steps.push_back({KeyStep::Kind::kDispatchMessages, 0});
    steps.push_back({KeyStep::Kind::kSleep, kDispatchSleepMs});
  }
  steps.push_back({KeyStep::Kind::kControlChord, virtualKey});
}

}  // namespace

std::vector<KeyStep> CopyKeySteps(CopyKeys keys) {
  std::vector<KeyStep> steps;
  if (keys == CopyKeys::kSelectAllAndCopy) AddChord(steps, kKeyA);
  AddChord(steps, kKeyC);
  return steps;
}

}  // namespace ostrel
