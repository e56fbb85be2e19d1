#include "toolbar/button_states.h"

namespace ostrel {
namespace {

bool IsPair(int n) { return n >= 0 && n < ButtonStates::kPairCount; }
bool IsCommandPair(int n) { return n >= 0 && n < ButtonStates::kCommandCount; }

}  // namespace

void ButtonStates::Initialize() {
  pairs_.fill({});
  pairs_[kStopCommand].state = kButtonDisabled;
  pairs_[kTerminatorPair].state = kButtonTerminator;
}

int16_t ButtonStates::State(int command) const { return IsPair(command) ? pairs_[command].state : 0; }

uint16_t ButtonStates::Variant(int command) const { return IsPair(command) ? pairs_[command].variant : 0; }

void ButtonStates::SetState(int command, int16_t state) {
  if (IsCommandPair(command)) pairs_[command].state = state;
}

void ButtonStates::SetVariant(int command, uint16_t variant) {
  if (IsCommandPair(command)) pairs_[command].variant = variant;
}

}  // namespace ostrel
