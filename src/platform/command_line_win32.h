#pragma once
#include <string>
#include <vector>

namespace ostrel {

// The process's arguments after the program's name, split the way the shell quotes them.
std::vector<std::u16string> CommandLineArguments();

}  // namespace ostrel
