#include "reading/window_filter.h"

#include <algorithm>

namespace ostrel {
namespace {

// The title is read into a buffer of 70 characters, terminator included; only whether
// anything arrived matters.
constexpr size_t kTitleBufferLength = 70;

bool HasTitle(const TopLevelWindow& window) {
  const std::u16string_view title = window.title;
  const std::u16string_view read = title.substr(0, std::min(title.size(), kTitleBufferLength - 1));
  return !read.empty() && read.front() != u'\0';
}

}  // namespace

std::optional<uintptr_t> WindowFilter(std::span<const TopLevelWindow> windows, uintptr_t toolbar,
                                      WindowFilterState& state) {
  for (const TopLevelWindow& window : windows) {
    if (!window.visible || !HasTitle(window)) continue;
    const bool isToolbar = window.id == toolbar;
    if (window.topmost && !isToolbar) continue;
    if (state.takeNext) {
      state = {};
      return window.id;
    }
    if (isToolbar) {
      if (state.rememberedWindow == 0) {
        state.takeNext = true;
        continue;
      }
      const uintptr_t remembered = state.rememberedWindow;
      state = {};
      return remembered;
    }
    if (state.rememberedWindow == 0) state.rememberedWindow = window.id;
  }
  return std::nullopt;
}

}  // namespace ostrel
