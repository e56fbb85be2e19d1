// Speaks one text through Orvatone.dll as the program does (by ordinal, from beside this
// executable) and reports, one key=value a line, when Speak was called, when the engine said
// it had finished, and the process's memory: what the engine costs while it reads.
//   speech_bench LANGUAGE FILE [SECONDS [PITCH SPEED VOLUME PAUSE COMMAPAUSE]]
// FILE holds the text in the language's code page. After SECONDS (default 60) the reading is
// stopped: a long text is measured for its start, not read to its end.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr UINT kEngineDoneMessage = 0x602;

using StartLanguageFn = int(WINAPI*)(int, int*, int*, int*, int*, int*, int*, int*, int*, int*, int*, int*,
                                     int*, int*, int*, int*);
using SpeakFn = int(WINAPI*)(HWND, int, const char*, int, int, int, int, int, int);
using LanguageFn = int(WINAPI*)(HWND, int);

bool g_done = false;

LRESULT CALLBACK DoneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kEngineDoneMessage && wParam == 0 && lParam == -1) {
    g_done = true;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring BesideThisProgram(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

void PrintMemory(const char* prefix) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return;
  std::printf("%s_working_set_kb=%llu\n%s_peak_working_set_kb=%llu\n%s_peak_private_kb=%llu\n", prefix,
              static_cast<unsigned long long>(counters.WorkingSetSize / 1024), prefix,
              static_cast<unsigned long long>(counters.PeakWorkingSetSize / 1024), prefix,
              static_cast<unsigned long long>(counters.PeakPagefileUsage / 1024));
}

int Fail(const char* what) {
  std::fprintf(stderr, "speech_bench: %s\n", what);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return Fail("usage: speech_bench LANGUAGE FILE [SECONDS [PITCH SPEED VOLUME PAUSE COMMAPAUSE]]");
  const int language = _wtoi(argv[1]);
  std::ifstream in(argv[2], std::ios::binary);
  if (!in) return Fail("cannot read the text");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const ULONGLONG patience = (argc >= 4 ? _wtoi(argv[3]) : 60) * 1000ULL;
  int voice[5] = {100, 100, 100, 800, 300};
  for (int i = 0; i < 5 && 4 + i < argc; ++i) voice[i] = _wtoi(argv[4 + i]);

  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  HMODULE engine = LoadLibraryW(BesideThisProgram(L"Orvatone.dll").c_str());
  if (!engine) return Fail("Orvatone.dll did not load");
  auto startLanguage = reinterpret_cast<StartLanguageFn>(reinterpret_cast<void*>(GetProcAddress(engine, MAKEINTRESOURCEA(3))));
  auto speak = reinterpret_cast<SpeakFn>(reinterpret_cast<void*>(GetProcAddress(engine, MAKEINTRESOURCEA(4))));
  auto stop = reinterpret_cast<LanguageFn>(reinterpret_cast<void*>(GetProcAddress(engine, MAKEINTRESOURCEA(5))));
  auto closeLanguage = reinterpret_cast<LanguageFn>(reinterpret_cast<void*>(GetProcAddress(engine, MAKEINTRESOURCEA(10))));
  if (!startLanguage || !speak || !stop || !closeLanguage) return Fail("an export is missing");

  WNDCLASSW wc{};
  wc.lpfnWndProc = DoneProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SpeechBenchDone";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);

  int r[15] = {};
  const ULONGLONG beforeStart = GetTickCount64();
  if (startLanguage(language, &r[0], &r[1], &r[2], &r[3], &r[4], &r[5], &r[6], &r[7], &r[8], &r[9], &r[10], &r[11],
                    &r[12], &r[13], &r[14]) != 0) {
    return Fail("StartLanguage failed");
  }
  std::printf("start_language_ms=%llu\ntext_bytes=%zu\n", GetTickCount64() - beforeStart, text.size());
  PrintMemory("before");
  std::fflush(stdout);

  const ULONGLONG speakTick = GetTickCount64();
  LARGE_INTEGER counter{}, frequency{};
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  const int result = speak(window, language, text.c_str(), voice[0], voice[1], voice[2], voice[3], voice[4], 0);
  const ULONGLONG returned = GetTickCount64();
  // The performance counter runs on the host's raw monotonic clock at full resolution; the tick
  // only in steps of about 16 ms.
  std::printf("speak_result=%d\nspeak_tick=%llu\nspeak_qpc_ms=%.1f\nspeak_call_ms=%llu\n", result, speakTick,
              static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart), returned - speakTick);
  std::fflush(stdout);

  const ULONGLONG deadline = returned + patience;
  MSG message;
  while (!g_done && GetTickCount64() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  if (g_done) {
    std::printf("done_tick=%llu\n", GetTickCount64());
  } else {
    std::printf("stopped_tick=%llu\n", GetTickCount64());
    stop(window, language);
  }
  PrintMemory("reading");
  closeLanguage(window, language);
  DestroyWindow(window);
  FreeLibrary(engine);
  return 0;
}
