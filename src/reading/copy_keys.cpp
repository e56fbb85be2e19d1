#include "reading/copy_keys.h"

namespace ostrel {
namespace {

constexpr int kKeyA = 0x41;
constexpr int kKeyC = 0x43;
constexpr int kDispatchRounds = 10;
constexpr int kDispatchSleepMs = 100;

void AddChord(std::vector<KeyStep>& steps, int virtualKey, bool quick) {
  if (quick) {
    steps.push_back({KeyStep::Kind::kWaitForFocus, kDispatchRounds * kDispatchSleepMs});
  } else {
    for (int round = 0; round < kDispatchRounds; ++round) {
      steps.push_back({KeyStep::Kind::kDispatchMessages, 0});
      steps.push_back({KeyStep::Kind::kSleep, kDispatchSleepMs});
    }
  }
  steps.push_back({KeyStep::Kind::kControlChord, virtualKey});
}

bool InFront(uintptr_t foreground, uintptr_t toolbar) { return foreground != 0 && foreground != toolbar; }

}  // namespace

std::vector<KeyStep> CopyKeySteps(CopyKeys keys, bool quick) {
  std::vector<KeyStep> steps;
  if (keys == CopyKeys::kSelectAllAndCopy) AddChord(steps, kKeyA, quick);
  AddChord(steps, kKeyC, quick);
  return steps;
}

bool WaitForApplicationInFront(FocusWaitHost& host, uintptr_t toolbar, int boundMs) {
  const uint64_t start = host.NowMs();
  for (;;) {
    // Always once: handlers that wait in the queue run before the keys, as in the long wait.
    host.DispatchMessages();
    if (InFront(host.ForegroundWindow(), toolbar)) return true;
    if (host.NowMs() - start >= static_cast<uint64_t>(boundMs < 0 ? 0 : boundMs)) return false;
    host.Sleep(kFocusLookMs);
  }
}

}  // namespace ostrel
