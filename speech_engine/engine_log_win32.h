// The engine's records go into the log of the program that loaded it, marked "Orvatone", so that
// one file tells what the program asked and what the engine made of it.
#pragma once
#include <windows.h>

#include <string_view>

namespace ostrel::orvatone {

// Sends the core's records to the host program's log, and says which engine was loaded. Once,
// before the first operation.
void StartEngineLog() noexcept;

// An error record through the core's sink: `what` and the Windows error code or HRESULT.
void LogFailure(std::string_view what, DWORD code) noexcept;
void LogFailedHresult(std::string_view what, HRESULT result) noexcept;

}  // namespace ostrel::orvatone
