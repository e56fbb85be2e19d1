#pragma once
#include <windows.h>

#include <string>

namespace ostrel {

// The full path of a module's file (nullptr: the program's), however long it is; empty when
// the system cannot give it.
std::u16string ModulePath(HMODULE module = nullptr);

// The folder of that file with its trailing backslash; empty when the path cannot be had.
std::u16string ModuleDirectory(HMODULE module = nullptr);

}  // namespace ostrel
