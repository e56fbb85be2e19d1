#include "engine_log_win32.h"

#include "log_seam.h"
#include "ostrel_release.h"
#include "platform/log_win32.h"

namespace ostrel::orvatone {
namespace {

constexpr std::string_view kSource = "Orvatone";

void ToHostLog(LogLevel level, std::string_view message) noexcept { log::Write(level, kSource, message); }

}  // namespace

void StartEngineLog() noexcept {
  SetLogSink(&ToHostLog);
  Log(LogLevel::kInfo, "engine " OSTREL_VERSION_TEXT " loaded");
}

void LogFailure(std::string_view what, DWORD code) noexcept { log::Failed(what, code, kSource); }

void LogFailedHresult(std::string_view what, HRESULT result) noexcept { log::FailedHresult(what, result, kSource); }

}  // namespace ostrel::orvatone
