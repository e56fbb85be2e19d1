#include "toolbar/reading_buttons.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace ostrel {
namespace {

constexpr Command kSelection = Command::SelectionReading;
constexpr Command kWholeText = Command::WholeTextReading;
constexpr Command kStop = Command::Stop;

struct Faces {
  ButtonState selection;
  ButtonState wholeText;
  ButtonState stop;
  uint16_t selectionVariant;
  uint16_t wholeTextVariant;
  friend bool operator==(const Faces&, const Faces&) = default;
};

Faces FacesOf(const ButtonStates& buttons) {
  return {buttons.State(kSelection), buttons.State(kWholeText), buttons.State(kStop), buttons.Variant(kSelection),
          buttons.Variant(kWholeText)};
}

void PrintTo(const Faces& f, std::ostream* out) {
  *out << static_cast<int>(f.selection) << "/" << f.selectionVariant << " " << static_cast<int>(f.wholeText) << "/"
       << f.wholeTextVariant << " stop " << static_cast<int>(f.stop);
}

TEST(ToolbarReadingButtonsTest, TheRunningKindDisablesTheOtherAndEnablesStop) {
  struct Row {
    const char* name;
    std::optional<ReadKind> running;
    Faces faces;
  };
  const std::vector<Row> rows = {
      {"nothing runs", std::nullopt, {ButtonState::Normal, ButtonState::Normal, ButtonState::Disabled, 0, 0}},
      {"the selection runs", ReadKind::Selection,
       {ButtonState::Normal, ButtonState::Disabled, ButtonState::Normal, 1, 0}},
      {"the whole text runs", ReadKind::WholeText,
       {ButtonState::Disabled, ButtonState::Normal, ButtonState::Normal, 0, 1}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ButtonStates buttons;
    buttons.Initialize();
    ShowReadingOnButtons({row.running, false, 0, kJapanese}, buttons);
    EXPECT_EQ(FacesOf(buttons), row.faces);
    // Back to nothing running from there.
    ShowReadingOnButtons({std::nullopt, false, 0, kJapanese}, buttons);
    EXPECT_EQ(FacesOf(buttons), (Faces{ButtonState::Normal, ButtonState::Normal, ButtonState::Disabled, 0, 0}));
  }
}

// The mouse's highlight stays on a pause, as the pointer is still on the button; only a
// reading that ends puts the reading buttons back as the toolbar opened them.
TEST(ToolbarReadingButtonsTest, AHighlightStaysUntilAReadingEnds) {
  ButtonStates buttons;
  buttons.Initialize();
  buttons.SetState(kSelection, ButtonState::Hover);
  ShowReadingOnButtons({ReadKind::Selection, false, 0, kJapanese}, buttons);
  EXPECT_EQ(buttons.State(kSelection), ButtonState::Hover);
  ShowReadingOnButtons({std::nullopt, false, 0, kJapanese}, buttons);  // paused
  EXPECT_EQ(buttons.State(kSelection), ButtonState::Hover);

  buttons.SetState(kWholeText, ButtonState::Pressed);
  ShowReadingOnButtons({std::nullopt, true, 0, kJapanese}, buttons);
  EXPECT_EQ(FacesOf(buttons), (Faces{ButtonState::Normal, ButtonState::Normal, ButtonState::Disabled, 0, 0}));
}

TEST(ToolbarReadingButtonsTest, RepeatAndLanguageShowTheirSettingsAndNothingElseIsTouched) {
  ButtonStates buttons;
  buttons.Initialize();
  buttons.SetState(Command::Repeat, ButtonState::Hover);
  buttons.SetInTray(true);
  buttons.SetDimmedDisplay(1);
  ShowReadingOnButtons({std::nullopt, false, 1, kKorean}, buttons);
  EXPECT_EQ(buttons.Variant(Command::Repeat), 1);
  EXPECT_EQ(buttons.Variant(Command::Language), kKorean);
  EXPECT_EQ(buttons.State(Command::Repeat), ButtonState::Hover);
  EXPECT_TRUE(buttons.InTray());
  EXPECT_EQ(buttons.DimmedDisplay(), 1);
  ShowReadingOnButtons({std::nullopt, false, 0, kChinese}, buttons);
  EXPECT_EQ(buttons.Variant(Command::Repeat), 0);
  EXPECT_EQ(buttons.Variant(Command::Language), kChinese);
}

}  // namespace
}  // namespace ostrel
