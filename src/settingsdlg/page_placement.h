#pragma once
#include <cstdint>

namespace ostrel {

struct PagePosition {
  int32_t x = 0;
  int32_t y = 0;
};

// Where every page goes in the settings dialog's client area, from the text height
// (tmHeight) of the tab control's default font: clear of the tab row, inside its border.
constexpr PagePosition PagePlacement(int32_t textHeight) { return {textHeight + 2, 2 * textHeight}; }

}  // namespace ostrel
