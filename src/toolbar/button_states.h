#pragma once
#include <array>
#include <cstdint>

#include "reading/command.h"

namespace ostrel {

// The skin band a button is drawn from. Only these are stored; the odd bands (alternate
// faces) arise while drawing.
enum class ButtonState : int16_t { Terminator = -1, Normal = 0, Hover = 2, Pressed = 4, Disabled = 6 };

// A button's variant picks its face within the band: 0 the usual one, 1 the alternate one
// of a two-faced button (a running reading, repeat on); the language button's variant is the
// LanguageIndex, the minimise button's says the toolbar is in the tray.
inline constexpr uint16_t kUsualFace = 0;
inline constexpr uint16_t kAlternateFace = 1;

struct ButtonStatePair {
  ButtonState state = ButtonState::Normal;
  uint16_t variant = kUsualFace;
  friend bool operator==(const ButtonStatePair&, const ButtonStatePair&) = default;
};

// The toolbar's per-button state pairs and the copy as last drawn. Pair n belongs to
// command n (0..7); pair 8 is the terminator, whose variant is DimmedDisplay; pairs 9..15
// stay zero. Only the command pairs can be written, so a stray command number from the hit
// map can never overwrite the terminator.
class ButtonStates {
 public:
  static constexpr int kPairCount = 16;
  static constexpr int kTerminatorPair = 8;

  // As the toolbar opens: all normal, stop disabled (nothing to stop yet), the terminator set.
  void Initialize();

  // Any pair can be read (normal and 0 for numbers outside 0..15); writes outside the
  // commands are ignored.
  ButtonState State(Command command) const;
  uint16_t Variant(Command command) const;
  void SetState(Command command, ButtonState state);
  void SetVariant(Command command, uint16_t variant);

  bool InTray() const { return pairs_[Number(Command::Minimise)].variant != kUsualFace; }
  void SetInTray(bool inTray) { pairs_[Number(Command::Minimise)].variant = inTray ? 1 : 0; }
  uint16_t DimmedDisplay() const { return pairs_[kTerminatorPair].variant; }
  void SetDimmedDisplay(uint16_t value) { pairs_[kTerminatorPair].variant = value; }
  // 0 becomes 1, anything else 0.
  void ToggleDimmedDisplay() { SetDimmedDisplay(DimmedDisplay() == 0 ? 1 : 0); }

  // Whether any state or variant differs from the copy last drawn.
  bool Changed() const { return pairs_ != drawn_; }
  void MarkDrawn() { drawn_ = pairs_; }

  const std::array<ButtonStatePair, kPairCount>& pairs() const { return pairs_; }
  const std::array<ButtonStatePair, kPairCount>& drawn() const { return drawn_; }

 private:
  std::array<ButtonStatePair, kPairCount> pairs_{};
  std::array<ButtonStatePair, kPairCount> drawn_{};
};

}  // namespace ostrel
