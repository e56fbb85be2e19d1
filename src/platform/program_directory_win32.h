#pragma once
#include <windows.h>

#include <string>

namespace ostrel {

// The directory of the given module's file, backslash appended (a drive root keeps
// its own backslash and gets one more, as the shell's path functions leave it).
void FillProgramDirectory(HMODULE module = nullptr);

// The program file's base name, the caption of the program's own message boxes.
std::u16string ApplicationName();

// One of the program's own message boxes: its name as the caption.
int ShowApplicationMessage(HWND owner, const wchar_t* text, UINT style);

}  // namespace ostrel
