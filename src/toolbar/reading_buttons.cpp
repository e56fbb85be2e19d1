#include "toolbar/reading_buttons.h"

namespace ostrel {
namespace {

// Enables a disabled button and leaves any other look alone.
void Enable(ButtonStates& buttons, Command command) {
  if (buttons.State(command) == ButtonState::Disabled) buttons.SetState(command, ButtonState::Normal);
}

}  // namespace

void ShowReadingOnButtons(const ReadingShown& reading, ButtonStates& buttons) {
  for (const ReadKind kind : {ReadKind::Selection, ReadKind::WholeText}) {
    const Command command = ReadCommand(kind);
    buttons.SetVariant(command, reading.running == kind ? kAlternateFace : kUsualFace);
    if (reading.running && *reading.running != kind) {
      buttons.SetState(command, ButtonState::Disabled);
    } else if (reading.ended) {
      buttons.SetState(command, ButtonState::Normal);
    } else {
      Enable(buttons, command);
    }
  }
  if (reading.running) {
    Enable(buttons, Command::Stop);
  } else {
    buttons.SetState(Command::Stop, ButtonState::Disabled);
  }
  buttons.SetVariant(Command::Repeat, static_cast<uint16_t>(reading.repeat));
  buttons.SetVariant(Command::Language, static_cast<uint16_t>(reading.language));
}

}  // namespace ostrel
