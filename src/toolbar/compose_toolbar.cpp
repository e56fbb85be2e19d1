#include "toolbar/compose_toolbar.h"

#include <algorithm>
#include <cstring>

#include "toolbar/toolbar_button.h"

namespace ostrel {
namespace {

constexpr uint32_t kTransparent = 0;

// Fills count canvas pixels at target from skin row sy, column sx on; whatever the skin
// does not have becomes transparent. sx is never negative here.
void CopyOrClearSpan(ConstPixelView skin, int64_t sx, int64_t sy, uint32_t* target, int64_t count) {
  int64_t available = 0;
  if (sy >= 0 && sy < skin.height && sx < skin.width) available = std::min(count, skin.width - sx);
  if (available > 0) {
    std::memcpy(target, skin.Row(static_cast<int>(sy)) + sx, static_cast<size_t>(available) * sizeof(uint32_t));
  }
  std::fill(target + available, target + count, kTransparent);
}

// A rectangle from the skin to the canvas, clipped to both; 64-bit so that no band offset
// or table value can overflow.
void CopyRect(ConstPixelView skin, int64_t sx, int64_t sy, int64_t width, int64_t height, PixelView canvas,
              int64_t dx, int64_t dy) {
  const int64_t cutLeft = std::max({int64_t{0}, -sx, -dx});
  sx += cutLeft;
  dx += cutLeft;
  width -= cutLeft;
  const int64_t cutTop = std::max({int64_t{0}, -sy, -dy});
  sy += cutTop;
  dy += cutTop;
  height -= cutTop;
  width = std::min({width, skin.width - sx, canvas.width - dx});
  height = std::min({height, skin.height - sy, canvas.height - dy});
  if (width <= 0 || height <= 0) return;
  for (int64_t y = 0; y < height; ++y) {
    std::memcpy(canvas.Row(static_cast<int>(dy + y)) + dx, skin.Row(static_cast<int>(sy + y)) + sx,
                static_cast<size_t>(width) * sizeof(uint32_t));
  }
}

int LanguageImage(uint16_t variant) { return variant < kLanguageImageCount ? variant : 0; }

// The band of a command's button when the toolbar is not dimmed.
int ButtonBand(const ButtonStates& states, Command command) {
  int band = static_cast<int>(states.State(command));
  if (band < 0 || band >= kSkinBandCount) band = static_cast<int>(ButtonState::Normal);
  const bool hasAlternateFace =
      command == Command::SelectionReading || command == Command::WholeTextReading || command == Command::Repeat;
  // The alternate faces sit one band below their look; disabled has none.
  if (hasAlternateFace && states.Variant(command) != kUsualFace && band != static_cast<int>(ButtonState::Disabled) &&
      band % 2 == 0) {
    ++band;
  }
  return band;
}

}  // namespace

void ComposeToolbar(ConstPixelView skin, PixelView canvas, const ButtonStates& states) {
  if (!canvas.Usable()) return;
  if (!skin.Usable()) skin = {};
  const int64_t bandHeight = canvas.height;

  for (int y = 0; y < canvas.height; ++y) {
    uint32_t* row = canvas.Row(y);
    const int64_t sy = kBackgroundBand * bandHeight + y;
    CopyOrClearSpan(skin, 0, sy, row, std::min(kSkinLeftPartWidth, canvas.width));
    if (canvas.width > kSkinLeftPartWidth) {
      CopyOrClearSpan(skin, kSkinRightPartX, sy, row + kSkinLeftPartWidth, canvas.width - kSkinLeftPartWidth);
    }
  }

  for (int number = 0;; ++number) {
    int row = FindButtonRow(number);
    if (row < 0) break;
    const Command command = static_cast<Command>(number);
    int band = 0;
    if (states.DimmedDisplay() != 0) {
      if (command != Command::Language) continue;
      band = kBackgroundBand;
    } else {
      band = ButtonBand(states, command);
    }
    if (command == Command::Language) row += LanguageImage(states.Variant(Command::Language));
    const ToolbarButton& button = kToolbarButtons[static_cast<size_t>(row)];
    CopyRect(skin, button.left, band * bandHeight + button.top, int64_t{button.right} - button.left,
             int64_t{button.bottom} - button.top, canvas, button.destX, button.destY);
  }
}

}  // namespace ostrel
