#include "toolbar/toolbar_button.h"

namespace ostrel {

int FindButtonRow(int command) {
  if (command < 0) return -1;
  for (int row = 0; row < static_cast<int>(kToolbarButtons.size()) && kToolbarButtons[row].left >= 0; ++row) {
    if (Number(kToolbarButtons[row].command) == command) return row;
  }
  return -1;
}

}  // namespace ostrel
