#include "espeak_synthesiser_win32.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <utility>

#include "encoding/code_page_win32.h"
#include "encoding/utf8.h"
#include "engine_log_win32.h"
#include "log_seam.h"
#include "platform/unique_handle_win32.h"
#include "prosody_mapping.h"
#include "wav_file.h"
#include "wine_host_win32.h"

namespace ostrel::orvatone {

namespace {

constexpr DWORD kPollMs = 5;
// A program that has not finished by then is taken as failed; long utterances get more time.
constexpr auto kMinimumPatience = std::chrono::seconds(20);
constexpr auto kPatiencePerUnit = std::chrono::milliseconds(100);

// Debian's Mandarin voice that reads pinyin as pinyin (plain "cmn" spells much of it out as English).
constexpr std::array<const char*, 4> kVoices = {"ja", "cmn-latn-pinyin", "en-us", "ko"};

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  std::array<char, 65536> chunk;
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) && got > 0) {
    bytes.append(chunk.data(), got);
  }
  if (!ok) return std::nullopt;
  return bytes;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  const UniqueFile file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring TempFolder() {
  std::array<wchar_t, MAX_PATH + 1> temp{};
  const DWORD length = GetTempPathW(static_cast<DWORD>(temp.size()), temp.data());
  if (length == 0 || length > temp.size()) return L".\\";
  return std::wstring(temp.data(), length);
}

// espeak-ng.exe reads its command line in the ANSI code page, so a temporary folder below a user
// name that code page lacks is handed over in its short form; nothing when no form survives.
std::optional<std::wstring> NamedInAnsiCodePage(const std::wstring& folder) {
  const PathInCodePage named = PathForCodePage(std::u16string(folder.begin(), folder.end()), CP_ACP);
  if (named.form == PathForm::kNone) return std::nullopt;
  const std::u16string wide = FromCodePage(named.bytes, CP_ACP);
  std::wstring result(wide.begin(), wide.end());
  if (result.empty() || result.back() != L'\\') result += L'\\';
  return result;
}

// The folder an environment variable names, with a trailing backslash; empty when unset.
std::wstring EnvironmentFolder(const wchar_t* variable) {
  std::array<wchar_t, MAX_PATH + 1> folder{};
  const DWORD length = GetEnvironmentVariableW(variable, folder.data(), static_cast<DWORD>(folder.size()));
  if (length == 0 || length >= folder.size()) return {};
  return std::wstring(folder.data(), length) + L"\\";
}

std::wstring ProgramFilesEspeak(const wchar_t* variable) {
  const std::wstring folder = EnvironmentFolder(variable);
  return folder.empty() ? folder : folder + L"eSpeak NG\\espeak-ng.exe";
}

// Only what a folder name made by us can hold, so the name is safe inside the shell's quotes.
bool SafeForShell(const std::string& path) {
  return !path.empty() && std::none_of(path.begin(), path.end(), [](char c) {
    return c == '\'' || c == '"' || c == '\\' || c == '\n' || c == '\r' || c == '`' || c == '$';
  });
}

std::string StripLineEnds(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace

std::optional<EspeakInstallation> FindEspeak(int engineLanguage) {
  if (engineLanguage < 1 || engineLanguage > 4) return std::nullopt;
  EspeakInstallation installation;
  installation.voice = kVoices[static_cast<std::size_t>(engineLanguage - 1)];
  if (RunsUnderWine()) {
    if (HostFile("/usr/bin/espeak-ng") && HostFile("/bin/sh")) {
      installation.onHost = true;
      installation.hostProgram = "/usr/bin/espeak-ng";
      // MeCab needs its dictionary too, or it fails on every line.
      if (engineLanguage == 1 && HostFile("/usr/bin/mecab") && HostFile("/etc/mecabrc")) {
        installation.hostMecab = "/usr/bin/mecab";
      }
      return installation;
    }
  }
  for (const wchar_t* variable : {L"ProgramW6432", L"ProgramFiles", L"ProgramFiles(x86)"}) {
    const std::wstring program = ProgramFilesEspeak(variable);
    if (!program.empty() && Exists(program)) {
      installation.program = program;
      return installation;
    }
  }
  return std::nullopt;
}

EspeakSynthesiser::EspeakSynthesiser(EspeakInstallation installation, int engineLanguage)
    : installation_(std::move(installation)) {
  static LONG instances = 0;
  const std::wstring name = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(engineLanguage) + L"-" +
                            std::to_wstring(InterlockedIncrement(&instances)) + L"\\";
  const std::wstring base = TempFolder() + L"Orvatone\\";
  CreateDirectoryW(base.c_str(), nullptr);
  folder_ = base + name;
  CreateDirectoryW(folder_.c_str(), nullptr);
  if (installation_.onHost) {
    hostFolder_ = HostPathOf(folder_).value_or(std::string());
    return;
  }
  if (const auto named = NamedInAnsiCodePage(folder_)) {
    folder_ = *named;
    return;
  }
  // Without short names the machine's shared data folder, named in ASCII on every Windows, serves.
  const std::wstring shared = EnvironmentFolder(L"ProgramData");
  if (!shared.empty()) {
    const std::wstring sharedBase = shared + L"Orvatone\\";
    CreateDirectoryW(sharedBase.c_str(), nullptr);
    const std::wstring sharedFolder = sharedBase + name;
    CreateDirectoryW(sharedFolder.c_str(), nullptr);
    if (const auto named = NamedInAnsiCodePage(sharedFolder)) {
      RemoveDirectoryW(folder_.c_str());
      folder_ = *named;
      return;
    }
    RemoveDirectoryW(sharedFolder.c_str());
  }
  LogFailure("naming espeak-ng's work folder in the ANSI code page", ERROR_NO_UNICODE_TRANSLATION);
}

EspeakSynthesiser::~EspeakSynthesiser() {
  // Finished jobs are gone already; a host program still running may leave its files behind.
  for (const unsigned job : abandoned_) RemoveJob(job);
  RemoveDirectoryW(folder_.c_str());
}

std::wstring EspeakSynthesiser::JobFile(wchar_t kind, unsigned job) const {
  const wchar_t* extension = kind == L'w' ? L".wav" : L".txt";
  return folder_ + kind + std::to_wstring(job) + extension;
}

void EspeakSynthesiser::RemoveJob(unsigned job) {
  for (const wchar_t kind : {L'u', L'k', L'w', L's', L't'}) DeleteFileW(JobFile(kind, job).c_str());
}

void EspeakSynthesiser::RemoveFinishedAbandonedJobs() {
  std::erase_if(abandoned_, [this](unsigned job) {
    if (installation_.onHost && !Exists(JobFile(L's', job))) return false;
    RemoveJob(job);
    return true;
  });
}

bool EspeakSynthesiser::Render(std::u16string_view text, const Prosody& prosody,
                               const std::function<bool()>& cancelled, Rendering& out) noexcept {
  try {
    RemoveFinishedAbandonedJobs();
    out.spokenText = std::u16string(text);
    out.pcm = {};
    const unsigned job = nextJob_++;
    if (!WriteWholeFile(JobFile(L'u', job), EncodeUtf8(text))) return false;

    const auto patience = std::max<std::chrono::milliseconds>(kMinimumPatience, kPatiencePerUnit * text.size());
    const auto deadline = std::chrono::steady_clock::now() + patience;
    const auto waitCancelled = [&] { return cancelled() || std::chrono::steady_clock::now() > deadline; };
    const bool finished = installation_.onHost ? RunOnHost(job, prosody, waitCancelled)
                                               : RunOnWindows(job, prosody, waitCancelled);
    if (!finished) {
      abandoned_.push_back(job);
      return false;
    }
    if (!installation_.hostMecab.empty()) {
      if (const auto reading = ReadWholeFile(JobFile(L'k', job))) {
        if (const auto decoded = DecodeUtf8(StripLineEnds(*reading))) out.spokenText = *decoded;
      }
    }
    const auto wav = ReadWholeFile(JobFile(L'w', job));
    RemoveJob(job);
    if (!wav) return false;
    auto pcm = ParseWav(*wav);
    if (!pcm) return false;
    out.pcm = std::move(*pcm);
    return true;
  } catch (...) {
    LogCaught("espeak-ng rendering");
    return false;
  }
}

bool EspeakSynthesiser::RunOnHost(unsigned job, const Prosody& prosody, const std::function<bool()>& cancelled) {
  if (!SafeForShell(hostFolder_)) return false;
  const std::string n = std::to_string(job);
  const std::string input = installation_.hostMecab.empty() ? "u" + n + ".txt" : "k" + n + ".txt";
  std::string script = "cd '" + hostFolder_ + "' || exit; ";
  if (!installation_.hostMecab.empty()) {
    // Without readings (MeCab failing or giving nothing) the text goes to espeak-ng as it is.
    script += installation_.hostMecab + " -Oyomi < u" + n + ".txt > k" + n + ".txt 2>/dev/null && [ -s k" + n +
              ".txt ] || cp u" + n + ".txt k" + n + ".txt; ";
  }
  script += installation_.hostProgram + " -b 1 -v " + installation_.voice + " -s " +
            std::to_string(EspeakWordsPerMinute(prosody.speed)) + " -p " +
            std::to_string(EspeakPitch(prosody.pitch)) + " -f " + input + " -w w" + n + ".wav >/dev/null 2>&1; " +
            "echo $? > t" + n + ".txt; mv t" + n + ".txt s" + n + ".txt";
  if (!StartHostShell(script)) return false;
  const std::wstring status = JobFile(L's', job);
  while (!Exists(status)) {
    if (cancelled()) return false;
    Sleep(kPollMs);
  }
  const auto code = ReadWholeFile(status);
  return code && StripLineEnds(*code) == "0";
}

bool EspeakSynthesiser::RunOnWindows(unsigned job, const Prosody& prosody, const std::function<bool()>& cancelled) {
  std::wstring commandLine = L"\"" + installation_.program + L"\" -b 1 -v " +
                             std::wstring(installation_.voice.begin(), installation_.voice.end()) + L" -s " +
                             std::to_wstring(EspeakWordsPerMinute(prosody.speed)) + L" -p " +
                             std::to_wstring(EspeakPitch(prosody.pitch)) + L" -f \"" + JobFile(L'u', job) +
                             L"\" -w \"" + JobFile(L'w', job) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(installation_.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &startup, &process)) {
    return false;
  }
  // Owned before `cancelled` runs: it is the caller's code and may throw.
  const UniqueKernelHandle program(process.hProcess);
  const UniqueKernelHandle thread(process.hThread);
  for (;;) {
    if (WaitForSingleObject(program.get(), kPollMs) == WAIT_OBJECT_0) {
      DWORD code = 1;
      return GetExitCodeProcess(program.get(), &code) && code == 0;
    }
    if (cancelled()) {
      TerminateProcess(program.get(), 1);
      WaitForSingleObject(program.get(), 1000);
      return false;
    }
  }
}

}  // namespace ostrel::orvatone
