#pragma once
#include "reading/command.h"

namespace ostrel {

// What a reading takes from the foreground application. Each kind has the read command of
// the same number.
enum class ReadKind : int { Selection = 0, WholeText = 1 };
inline constexpr int kReadKindCount = 2;

constexpr Command ReadCommand(ReadKind kind) { return static_cast<Command>(static_cast<int>(kind)); }
constexpr int Number(ReadKind kind) { return static_cast<int>(kind); }

// The text capture takes the kind as a number.
inline constexpr int kSelectionReading = Number(ReadKind::Selection);
inline constexpr int kWholeTextReading = Number(ReadKind::WholeText);

}  // namespace ostrel
