#pragma once
#include <array>
#include <cstdint>

namespace ostrel {

// ButtonState: the skin band a button is drawn from. Only these are stored; the odd
// bands (alternate faces) arise while drawing.
inline constexpr int16_t kButtonNormal = 0;
inline constexpr int16_t kButtonHover = 2;
inline constexpr int16_t kButtonPressed = 4;
inline constexpr int16_t kButtonDisabled = 6;
inline constexpr int16_t kButtonTerminator = -1;

struct ButtonStatePair {
  int16_t state = 0;     // ButtonState
  uint16_t variant = 0;  // ButtonVariant
  friend bool operator==(const ButtonStatePair&, const ButtonStatePair&) = default;
};

// The toolbar's per-button state pairs and the copy as last drawn. Pair n belongs to
// command n (0..7); pair 8 is the terminator, whose variant is DimmedDisplay; pairs 9..15
// stay zero. Only the command pairs can be written, so a stray command number from the hit
// map can never overwrite the terminator.
class ButtonStates {
 public:
  static constexpr int kPairCount = 16;
  static constexpr int kCommandCount = 8;
  static constexpr int kTerminatorPair = 8;
  static constexpr int kStopCommand = 2;
  static constexpr int kMinimiseCommand = 7;

  // As the toolbar opens: all normal, stop disabled (nothing to stop yet), the terminator set.
  void Initialize();

  // Any pair can be read (0 for numbers outside 0..15); writes outside 0..7 are ignored.
  int16_t State(int command) const;
  uint16_t Variant(int command) const;
  void SetState(int command, int16_t state);
  void SetVariant(int command, uint16_t variant);

  bool InTray() const { return pairs_[kMinimiseCommand].variant != 0; }
  void SetInTray(bool inTray) { pairs_[kMinimiseCommand].variant = inTray ? 1 : 0; }
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
