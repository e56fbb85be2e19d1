#include "toolbar/button_states.h"

namespace ostrel {
namespace {

bool IsPair(Command command) { return Number(command) >= 0 && Number(command) < ButtonStates::kPairCount; }

}  // namespace

void ButtonStates::Initialize() {
  pairs_.fill({});
  pairs_[Number(Command::Stop)].state = ButtonState::Disabled;
  pairs_[kTerminatorPair].state = ButtonState::Terminator;
}

ButtonState ButtonStates::State(Command command) const {
  return IsPair(command) ? pairs_[Number(command)].state : ButtonState::Normal;
}

uint16_t ButtonStates::Variant(Command command) const { return IsPair(command) ? pairs_[Number(command)].variant : 0; }

void ButtonStates::SetState(Command command, ButtonState state) {
  if (IsCommand(command)) pairs_[Number(command)].state = state;
}

void ButtonStates::SetVariant(Command command, uint16_t variant) {
  if (IsCommand(command)) pairs_[Number(command)].variant = variant;
}

}  // namespace ostrel
