#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ostrel {

// A top-level window as the older Windows family's focus hand-back sees it.
struct TopLevelWindow {
  uintptr_t id = 0;
  bool visible = false;
  std::u16string title;  // as read into the 70-character buffer
  bool topmost = false;
};

// What the older Windows family's focus hand-back remembers from one capture to the next.
struct WindowFilterState {
  uintptr_t rememberedWindow = 0;
  bool takeNext = false;
};

// Picks the window to hand the focus back to, walking the top-level windows from the top of
// the Z order down: the first visible, titled, not-topmost window below the toolbar, or, when
// such windows lie above the toolbar, the topmost of those. Nothing when the walk ends
// without deciding; the state then carries over to the next capture.
std::optional<uintptr_t> WindowFilter(std::span<const TopLevelWindow> windows, uintptr_t toolbar,
                                      WindowFilterState& state);

}  // namespace ostrel
