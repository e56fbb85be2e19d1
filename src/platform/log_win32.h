// The log a user can send when something does not work: one file per program under
// %LOCALAPPDATA%\Brantic\Ostrel4, named after the program file (Ostrel4.log, AppUpdateBRN.log,
// UserDicJpn.log ...). The engine, loaded into a program, writes into that program's file.
// Every record also goes to the debugger (OutputDebugStringW).
//
// Nothing here throws, and a folder that cannot be written only costs the records. Never put
// a text being read, the clipboard's content or a dictionary's words into a record.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/log_record.h"

namespace ostrel::log {

// %LOCALAPPDATA%\Brantic\Ostrel4\ with its trailing backslash; empty when the system names no
// such folder.
std::wstring Folder();
// The file this program writes: Folder() + the program file's base name + ".log".
std::wstring ProgramLogPath();
// "X.log" -> "X.old.log": the one older file, still opened by a double-click.
std::wstring OlderPath(const std::wstring& path);

// Appends one record (a whole line) to `path`. A file that has reached `limit` first becomes
// OlderPath(path), replacing the one before. Appends from several modules and processes at once
// each land whole. false: the record could not be written.
bool AppendRecord(const std::wstring& path, std::string_view record, uint64_t limit = kLogLimitBytes) noexcept;

// Sends the core's records (SetLogSink) to this program's log. Once, at the program's start.
void StartProgramLog() noexcept;

// A record in this program's log; `source` names the module ("Orvatone" for the engine).
void Write(LogLevel level, std::string_view source, std::string_view message) noexcept;
// The same with the program's own name as the source.
void Info(std::string_view message) noexcept;
void Warning(std::string_view message) noexcept;
void Error(std::string_view message) noexcept;

// A path or a system's text for a record.
std::string Utf8(std::wstring_view text);

// "error 5 (Access is denied)"; the system's text in the user's language.
std::string ErrorText(DWORD code);
// "HRESULT 0x80070005 (Access is denied)".
std::string HresultText(HRESULT result);

// An error record: `what` and the error code, e.g. Failed("RegisterHotKey 1", GetLastError()).
// An empty `source` is the program's own name.
void Failed(std::string_view what, DWORD code, std::string_view source = {}) noexcept;
void FailedHresult(std::string_view what, HRESULT result, std::string_view source = {}) noexcept;
// For a catch (...): `where` and what the exception said, as an error record.
void Caught(std::string_view where) noexcept;

}  // namespace ostrel::log
