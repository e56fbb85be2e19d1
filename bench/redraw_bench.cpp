// One toolbar composition (what a redraw costs before presenting) against the cheapest
// thing that could refresh the canvas: one copy of all its pixels.
#include <benchmark/benchmark.h>

#include <cstring>

#include "settings/app_settings.h"
#include "toolbar/button_states.h"
#include "toolbar/compose_toolbar.h"
#include "toolbar/pixel_image.h"

namespace ostrel {
namespace {

constexpr int kSkinWidth = 430;
constexpr int kSkinHeight = 435;
constexpr int kCanvasWidth = 327;
constexpr int kCanvasHeight = 60;

PixelImage MakeSkin() {
  PixelImage skin(kSkinWidth, kSkinHeight);
  for (int y = 0; y < kSkinHeight; ++y) {
    for (int x = 0; x < kSkinWidth; ++x) skin.At(x, y) = Bgra(uint8_t(x), uint8_t(y), uint8_t(x ^ y), 255);
  }
  return skin;
}

// A toolbar mid-reading: selection reading speaking, the mouse over it, English shown.
ButtonStates ReadingStates() {
  ButtonStates states;
  states.Initialize();
  states.SetState(Command::SelectionReading, ButtonState::Hover);
  states.SetVariant(Command::SelectionReading, kAlternateFace);
  states.SetState(Command::WholeTextReading, ButtonState::Disabled);
  states.SetState(Command::Stop, ButtonState::Normal);
  states.SetVariant(Command::Repeat, kAlternateFace);
  states.SetVariant(Command::Language, kEnglish);
  return states;
}

void BM_Composition(benchmark::State& state) {
  const PixelImage skin = MakeSkin();
  PixelImage canvas(kCanvasWidth, kCanvasHeight);
  ButtonStates states = ReadingStates();
  for ([[maybe_unused]] auto _ : state) {
    ComposeToolbar(skin.view(), canvas.view(), states);
    states.MarkDrawn();
    benchmark::DoNotOptimize(canvas.view().pixels);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Composition);

void BM_FullCanvasCopy(benchmark::State& state) {
  const PixelImage source = MakeSkin();
  PixelImage canvas(kCanvasWidth, kCanvasHeight);
  constexpr size_t kBytes = size_t{kCanvasWidth} * kCanvasHeight * sizeof(uint32_t);
  for ([[maybe_unused]] auto _ : state) {
    std::memcpy(canvas.view().pixels, source.view().pixels, kBytes);
    benchmark::DoNotOptimize(canvas.view().pixels);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FullCanvasCopy);

}  // namespace
}  // namespace ostrel
