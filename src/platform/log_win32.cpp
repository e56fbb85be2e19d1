#include "platform/log_win32.h"

#include <shlobj.h>

#include <cstdio>

#include "encoding/utf8.h"

namespace ostrel::log {
namespace {

// Writers take turns, across modules and processes. Windows appends a FILE_APPEND_DATA write
// whole, but Wine writes at the end it last saw, so records of two writers overwrite each other
// there; and two writers that find the file full at once must not both move it aside (the second
// would replace the older file with the few records the first has just begun). A writer that
// waits longer than this writes anyway: a record is never worth a stalled window.
constexpr wchar_t kWritersMutex[] = L"Local\\OstrelQuartetLogWriters";
constexpr DWORD kTurnWaitMs = 250;

class WriterTurn {
 public:
  WriterTurn() {
    static const HANDLE mutex = CreateMutexW(nullptr, FALSE, kWritersMutex);
    if (!mutex) return;
    const DWORD waited = WaitForSingleObject(mutex, kTurnWaitMs);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) held_ = mutex;
  }
  ~WriterTurn() {
    if (held_) ReleaseMutex(held_);
  }
  WriterTurn(const WriterTurn&) = delete;
  WriterTurn& operator=(const WriterTurn&) = delete;

 private:
  HANDLE held_ = nullptr;
};

std::wstring ProgramFileStem() {
  wchar_t path[MAX_PATH * 4] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring name(path, length < MAX_PATH * 4 ? length : 0);
  name = name.substr(name.find_last_of(L"\\/") + 1);
  const size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > 0) name.resize(dot);
  return name.empty() ? L"Ostrel4" : name;
}

const std::string& ProgramSource() {
  static const std::string source = Utf8(ProgramFileStem());
  return source;
}

std::wstring LocalAppData() {
  PWSTR known = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known)) && known) folder = known;
  CoTaskMemFree(known);
  if (!folder.empty()) return folder;
  wchar_t value[MAX_PATH * 4] = {};
  const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", value, MAX_PATH * 4);
  return std::wstring(value, length < MAX_PATH * 4 ? length : 0);
}

uint64_t SizeOf(HANDLE file) {
  LARGE_INTEGER size{};
  return GetFileSizeEx(file, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
}

HANDLE OpenForAppend(const std::wstring& path) {
  // Append access makes every WriteFile land at the end as one piece, whoever else writes;
  // sharing delete lets another writer move the file aside while this one has it open.
  return CreateFileW(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

void ToDebugger(std::string_view record) {
  const std::u16string wide = DecodeUtf8Lenient(record);
  OutputDebugStringW(reinterpret_cast<const wchar_t*>(wide.c_str()));
}

// A record in passing must not change the error a caller reads next (as the toolbar does after
// recording a failed UpdateLayeredWindow); finding the program's name alone can reset it.
class KeptLastError {
 public:
  KeptLastError() : error_(GetLastError()) {}
  ~KeptLastError() { SetLastError(error_); }
  KeptLastError(const KeptLastError&) = delete;
  KeptLastError& operator=(const KeptLastError&) = delete;

 private:
  DWORD error_;
};

void WriteOwn(LogLevel level, std::string_view message) noexcept {
  const KeptLastError kept;
  try {
    Write(level, ProgramSource(), message);
  } catch (...) {
    // No memory for the program's name: the record is lost, the program goes on.
  }
}

void SinkToProgramLog(LogLevel level, std::string_view message) noexcept { WriteOwn(level, message); }

// An empty source is the program's own name.
void WriteFrom(LogLevel level, std::string_view source, std::string_view message) noexcept {
  if (source.empty()) {
    WriteOwn(level, message);
  } else {
    Write(level, source, message);
  }
}

}  // namespace

std::string Utf8(std::wstring_view text) { return EncodeUtf8(std::u16string(text.begin(), text.end())); }

std::wstring Folder() {
  static const std::wstring folder = [] {
    std::wstring base = LocalAppData();
    if (base.empty()) return base;
    if (base.back() != L'\\') base += L'\\';
    base += L"Brantic\\";
    CreateDirectoryW(base.c_str(), nullptr);
    base += L"Ostrel4\\";
    CreateDirectoryW(base.c_str(), nullptr);
    return base;
  }();
  return folder;
}

std::wstring ProgramLogPath() {
  const std::wstring folder = Folder();
  return folder.empty() ? std::wstring() : folder + ProgramFileStem() + L".log";
}

std::wstring OlderPath(const std::wstring& path) {
  const size_t dot = path.find_last_of(L'.');
  const size_t slash = path.find_last_of(L"\\/");
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return path + L".old";
  return path.substr(0, dot) + L".old" + path.substr(dot);
}

bool AppendRecord(const std::wstring& path, std::string_view record, uint64_t limit) noexcept {
  try {
    if (path.empty() || record.size() > 0xFFFFFFFFu) return false;
    const WriterTurn turn;
    HANDLE file = OpenForAppend(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    if (SizeOf(file) >= limit) {
      CloseHandle(file);
      MoveFileExW(path.c_str(), OlderPath(path).c_str(), MOVEFILE_REPLACE_EXISTING);
      file = OpenForAppend(path);
      if (file == INVALID_HANDLE_VALUE) return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
                    written == record.size();
    CloseHandle(file);
    return ok;
  } catch (...) {
    return false;  // out of memory for a path: nowhere left to say so
  }
}

void Write(LogLevel level, std::string_view source, std::string_view message) noexcept {
  const KeptLastError kept;
  try {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const LogStamp stamp{now.wYear,   now.wMonth,  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds,
                         GetCurrentProcessId(), GetCurrentThreadId()};
    const std::string record = FormatLogRecord(stamp, level, source, message);
    ToDebugger(record);
    AppendRecord(ProgramLogPath(), record);
  } catch (...) {
    // No memory to build a record: it is lost, the program goes on.
  }
}

void Info(std::string_view message) noexcept { WriteOwn(LogLevel::kInfo, message); }
void Warning(std::string_view message) noexcept { WriteOwn(LogLevel::kWarning, message); }
void Error(std::string_view message) noexcept { WriteOwn(LogLevel::kError, message); }

void StartProgramLog() noexcept { SetLogSink(&SinkToProgramLog); }

std::string ErrorText(DWORD code) {
  std::string text = "error " + std::to_string(code);
  wchar_t* message = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
      reinterpret_cast<LPWSTR>(&message), 0, nullptr);
  if (length > 0 && message) {
    std::wstring words(message, length);
    while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L' ' ||
                              words.back() == L'.' || words.back() == L'。')) {
      words.pop_back();
    }
    if (!words.empty()) text += " (" + Utf8(words) + ")";
  }
  LocalFree(message);
  return text;
}

std::string HresultText(HRESULT result) {
  char number[16];
  std::snprintf(number, sizeof number, "0x%08lX", static_cast<unsigned long>(result));
  std::string text = ErrorText(static_cast<DWORD>(result));
  // ErrorText's "error N" is the wrong name for an HRESULT; its words are the right ones.
  const size_t words = text.find(" (");
  return std::string("HRESULT ") + number + (words == std::string::npos ? "" : text.substr(words));
}

void Failed(std::string_view what, DWORD code, std::string_view source) noexcept {
  const KeptLastError kept;
  try {
    WriteFrom(LogLevel::kError, source, std::string(what) + ": " + ErrorText(code));
  } catch (...) {
    WriteFrom(LogLevel::kError, source, what);
  }
}

void FailedHresult(std::string_view what, HRESULT result, std::string_view source) noexcept {
  const KeptLastError kept;
  try {
    WriteFrom(LogLevel::kError, source, std::string(what) + ": " + HresultText(result));
  } catch (...) {
    WriteFrom(LogLevel::kError, source, what);
  }
}

void Caught(std::string_view where) noexcept {
  const KeptLastError kept;
  try {
    WriteOwn(LogLevel::kError, std::string(where) + ": " + CurrentExceptionText());
  } catch (...) {
    WriteOwn(LogLevel::kError, where);
  }
}

}  // namespace ostrel::log
