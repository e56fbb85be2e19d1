#pragma once

namespace ostrel {

// The toolbar's commands, numbered as the hit map's colours and the button table name them.
enum class Command : int {
  SelectionReading = 0,
  WholeTextReading = 1,
  Stop = 2,
  Repeat = 3,
  Language = 4,
  Settings = 5,
  Close = 6,
  Minimise = 7,
};
inline constexpr int kCommandCount = 8;

constexpr int Number(Command command) { return static_cast<int>(command); }
constexpr bool IsCommand(Command command) { return Number(command) >= 0 && Number(command) < kCommandCount; }

}  // namespace ostrel
