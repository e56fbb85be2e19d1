#pragma once
#include <array>
#include <cstdint>

#include "reading/command.h"

namespace ostrel {

// One row of the button table: where a button's image lies within a skin band and where
// it goes on the canvas. right and bottom are exclusive.
struct ToolbarButton {
  Command command;
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
  int32_t destX;
  int32_t destY;
  int32_t flag;
  const char16_t* tooltip;
};

// Marks the close button, whose command posts WM_CLOSE.
inline constexpr int32_t kCloseButtonFlag = 16;

// The language button's four images (rows 4..7, one per LanguageIndex) share one place.
inline constexpr int kLanguageImageCount = 4;

// Ends at the first row whose left is negative. The terminator's tooltip is empty rather
// than null so that a careless lookup still has a string to show.
inline constexpr std::array<ToolbarButton, 12> kToolbarButtons{{
    {Command::SelectionReading, 57, 10, 97, 50, 57, 10, 0, u"範囲指定読上げ"},
    {Command::WholeTextReading, 108, 5, 154, 54, 108, 5, 0, u"全文読上げ"},
    {Command::Stop, 158, 18, 183, 44, 158, 18, 0, u"停止"},
    {Command::Repeat, 185, 18, 210, 44, 185, 18, 0, u"リピート"},
    {Command::Language, 228, 18, 255, 44, 228, 18, 0, u"言語切替"},
    {Command::Language, 262, 18, 289, 44, 228, 18, 0, u""},
    {Command::Language, 297, 18, 324, 44, 228, 18, 0, u""},
    {Command::Language, 331, 18, 358, 44, 228, 18, 0, u""},
    {Command::Settings, 366, 18, 393, 44, 263, 18, 0, u"設定"},
    {Command::Close, 399, 17, 413, 30, 296, 17, kCloseButtonFlag, u"終了"},
    {Command::Minimise, 399, 31, 413, 45, 296, 31, 0, u"最小化"},
    {Command{-1}, -1, 0, 0, 0, 0, 0, 0, u""},
}};

// The first row of a command number (as the hit map gives it), or -1 for a negative
// number or one the table lacks.
int FindButtonRow(int command);

}  // namespace ostrel
