#pragma once
#include <windows.h>

namespace ostrel {

// The directory of the given module's file, backslash appended (a drive root keeps
// its own backslash and gets one more, as the shell's path functions leave it).
void FillProgramDirectory(HMODULE module = nullptr);

}  // namespace ostrel
