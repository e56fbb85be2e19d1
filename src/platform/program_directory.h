#pragma once
#include <string>

namespace ostrel {

// The program file's directory with a trailing backslash; set once at start-up.
const std::u16string& ProgramDirectory();
void SetProgramDirectory(std::u16string directory);

}  // namespace ostrel
