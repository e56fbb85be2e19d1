#pragma once
#include <cstdint>
#include <optional>

#include "reading/read_kind.h"
#include "settings/app_settings.h"

namespace ostrel {

// The reading as the toolbar shows it, handed to the host at each change.
struct ReadingShown {
  // The kind the commands treat as reading: set as a press starts or resumes it, before the
  // capture runs, and cleared as it pauses or ends. A paused reading looks idle.
  std::optional<ReadKind> running;
  // Both readings have just gone back to idle.
  bool ended = false;
  int32_t repeat = 0;
  LanguageIndex language = 0;
};

}  // namespace ostrel
