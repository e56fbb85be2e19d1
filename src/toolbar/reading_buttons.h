#pragma once
#include "reading/reading_shown.h"
#include "toolbar/button_states.h"

namespace ostrel {

// The buttons' faces of the reading, the one place they are set from it. The running kind
// shows its alternate face and disables the other kind; stop is enabled only while a kind
// runs. Otherwise a reading button keeps the highlight the mouse gave it, except that a
// reading which ends puts its buttons back as the toolbar opened them. Repeat and language
// show their settings.
void ShowReadingOnButtons(const ReadingShown& reading, ButtonStates& buttons);

}  // namespace ostrel
