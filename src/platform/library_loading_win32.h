#pragma once
#include <windows.h>

#include <string>

namespace ostrel {

// Called first thing in every program of ours: system libraries then come only from the system
// folders and the program's own, never from the current folder or PATH, where anyone may have
// put a file of the same name.
void RestrictLibrarySearch();

// One of the program's own libraries, by its full path; what it needs in turn is searched
// beside it and in the system folders.
HMODULE LoadProgramLibrary(const std::wstring& fullPath);

}  // namespace ostrel
