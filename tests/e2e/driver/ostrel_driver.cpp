// A Windows-side hand for the end-to-end scripts: finds windows, sends keys with
// SendInput (no X focus needed), moves windows, reads and writes the clipboard.
// Each command prints what it found on one line; the exit status says whether it worked.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

HWND FindByTitle(const wchar_t* title) { return FindWindowW(nullptr, title); }

HWND WaitForWindow(const wchar_t* title, int seconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
  for (;;) {
    if (HWND window = FindByTitle(title)) return window;
    if (GetTickCount64() > deadline) return nullptr;
    Sleep(100);
  }
}

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  return out;
}

int Fail(const char* what) {
  std::fprintf(stderr, "driver: %s\n", what);
  return 1;
}

void SendKeys(const std::vector<WORD>& down) {
  std::vector<INPUT> inputs;
  for (WORD vk : down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, 0));
    inputs.push_back(in);
  }
  for (auto it = down.rbegin(); it != down.rend(); ++it) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = *it;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(*it, 0));
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The page a tabbed dialog shows: its one visible child dialog.
HWND VisiblePage(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (std::wcscmp(name, L"#32770") == 0 && IsWindowVisible(child)) return child;
  }
  return nullptr;
}

int PrintControl(HWND parent, int id) {
  HWND control = parent ? GetDlgItem(parent, id) : nullptr;
  if (!control) return Fail("control not found");
  RECT r{};
  GetWindowRect(control, &r);
  std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right - r.left, r.bottom - r.top, IsWindowVisible(control) ? 1 : 0);
  return 0;
}

// "VK[+VK...]", each in hex or decimal.
std::vector<WORD> ParseKeys(const wchar_t* text) {
  std::vector<WORD> keys;
  for (const wchar_t* part = text; *part;) {
    wchar_t* end = nullptr;
    keys.push_back(static_cast<WORD>(std::wcstoul(part, &end, 0)));
    if (end == part) break;
    part = (*end == L'+') ? end + 1 : end;
  }
  return keys;
}


// What a process holds. Windows answers each question directly; Wine leaves those calls as
// stubs that answer 0, so then the same is counted from outside: the process's GDI handle
// table (per process under Wine, reached through its PEB), its windows, and its kernel
// handles by duplicating each possible handle value.
struct ResourceCounts {
  unsigned long gdi = 0;
  unsigned long user = 0;
  unsigned long handles = 0;
  unsigned long long privateBytes = 0;
};

unsigned long CountGdiTable(HANDLE process) {
  struct BasicInformation {
    LONG_PTR exitStatus;
    BYTE* peb;
    ULONG_PTR affinity, priority, pid, parent;
  } basic{};
  using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  ULONG size = 0;
  if (!query || query(process, 0, &basic, sizeof basic, &size) != 0) return 0;
  BYTE* table = nullptr;
  constexpr size_t kGdiSharedHandleTable = 0xF8;  // offset in the 64-bit PEB
  if (!ReadProcessMemory(process, basic.peb + kGdiSharedHandleTable, &table, sizeof table, nullptr) || !table) return 0;
  constexpr size_t kEntries = 0x10000, kEntrySize = 24, kTypeOffset = 14;
  std::vector<BYTE> entries(kEntries * kEntrySize);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr)) return 0;
  unsigned long count = 0;
  for (size_t i = 0; i < kEntries; ++i) count += entries[i * kEntrySize + kTypeOffset] != 0 ? 1 : 0;
  return count;
}

unsigned long CountWindows(DWORD pid) {
  struct Search {
    DWORD pid;
    unsigned long count;
  } search{pid, 0};
  EnumWindows(
      [](HWND top, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(top, &owner);
        if (owner != s->pid) return TRUE;
        ++s->count;
        EnumChildWindows(top, [](HWND, LPARAM inner) -> BOOL { ++reinterpret_cast<Search*>(inner)->count; return TRUE; },
                         data);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.count;
}

unsigned long CountHandlesByDuplicating(HANDLE process) {
  unsigned long count = 0;
  for (ULONG_PTR value = 4; value < 0x4000; value += 4) {
    HANDLE copy = nullptr;
    if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0, FALSE,
                        DUPLICATE_SAME_ACCESS)) {
      ++count;
      CloseHandle(copy);
    }
  }
  return count;
}

ResourceCounts CountResources(HANDLE process, DWORD pid) {
  ResourceCounts counts;
  counts.gdi = GetGuiResources(process, GR_GDIOBJECTS);
  if (counts.gdi == 0) counts.gdi = CountGdiTable(process);
  counts.user = GetGuiResources(process, GR_USEROBJECTS);
  if (counts.user == 0) counts.user = CountWindows(pid);
  DWORD handles = 0;
  if (!GetProcessHandleCount(process, &handles) || handles == 0) handles = CountHandlesByDuplicating(process);
  counts.handles = handles;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
    counts.privateBytes = memory.PrivateUsage;
  }
  return counts;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Fail("usage: driver COMMAND ...");
  const std::wstring command = argv[1];

  if (command == L"wait-window" && argc >= 4) {  // TITLE SECONDS
    HWND window = WaitForWindow(argv[2], _wtoi(argv[3]));
    if (!window) return Fail("window not found");
    std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    return 0;
  }
  if (command == L"wait-gone" && argc >= 4) {  // TITLE SECONDS
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(_wtoi(argv[3])) * 1000;
    while (FindByTitle(argv[2])) {
      if (GetTickCount64() > deadline) return Fail("window still there");
      Sleep(100);
    }
    return 0;
  }
  if (command == L"info" && argc >= 3) {  // TITLE: left top width height exstyle visible
    HWND window = FindByTitle(argv[2]);
    if (!window) return Fail("window not found");
    RECT r{};
    GetWindowRect(window, &r);
    std::printf("%ld %ld %ld %ld 0x%08lx %d\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
                static_cast<unsigned long>(GetWindowLongPtrW(window, GWL_EXSTYLE)), IsWindowVisible(window) ? 1 : 0);
    return 0;
  }
  if (command == L"client" && argc >= 3) {  // TITLE: left top width height of the client area, on the screen
    HWND window = FindByTitle(argv[2]);
    if (!window) return Fail("window not found");
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
  }
  if (command == L"count" && argc >= 3) {  // TITLE: how many top-level windows carry it
    struct Search {
      const wchar_t* title;
      int count;
    } search{argv[2], 0};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto* s = reinterpret_cast<Search*>(data);
          wchar_t text[256] = {};
          GetWindowTextW(window, text, 256);
          if (std::wcscmp(text, s->title) == 0) ++s->count;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    std::printf("%d\n", search.count);
    return 0;
  }
  if (command == L"move" && argc >= 5) {  // TITLE X Y
    HWND window = FindByTitle(argv[2]);
    if (!window) return Fail("window not found");
    SetWindowPos(window, nullptr, _wtoi(argv[3]), _wtoi(argv[4]), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
  }
  if (command == L"key" && argc >= 4) {  // TITLE|- VK[+VK...] (hex or decimal)
    if (std::wcscmp(argv[2], L"-") != 0) {
      HWND window = FindByTitle(argv[2]);
      if (!window) return Fail("window not found");
      SetForegroundWindow(window);
      Sleep(200);
    }
    const std::vector<WORD> keys = ParseKeys(argv[3]);
    std::printf("%llu\n", GetTickCount64());  // when the keys went out, on the engine journal's clock
    SendKeys(keys);
    return 0;
  }
  if ((command == L"hold" || command == L"release") && argc >= 4) {  // TITLE|- VK[+VK...]: only presses, or only releases
    if (std::wcscmp(argv[2], L"-") != 0) {
      HWND window = FindByTitle(argv[2]);
      if (!window) return Fail("window not found");
      SetForegroundWindow(window);
      Sleep(200);
    }
    std::vector<INPUT> inputs;
    for (WORD vk : ParseKeys(argv[3])) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wVk = vk;
      in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, 0));
      in.ki.dwFlags = command == L"release" ? KEYEVENTF_KEYUP : 0;
      inputs.push_back(in);
    }
    std::printf("%llu\n", GetTickCount64());
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return 0;
  }
  if (command == L"key-state" && argc >= 3) {  // VK: "down" or "up", as the system holds it now
    std::printf("%s\n", (GetAsyncKeyState(static_cast<int>(std::wcstoul(argv[2], nullptr, 0))) & 0x8000) ? "down" : "up");
    return 0;
  }
  if (command == L"post" && argc >= 6) {  // TITLE MESSAGE WPARAM LPARAM
    HWND window = FindByTitle(argv[2]);
    if (!window) return Fail("window not found");
    PostMessageW(window, static_cast<UINT>(std::wcstoul(argv[3], nullptr, 0)),
                 static_cast<WPARAM>(std::wcstoull(argv[4], nullptr, 0)),
                 static_cast<LPARAM>(std::wcstoll(argv[5], nullptr, 0)));
    return 0;
  }
  if (command == L"tray") {  // the notification area: left top width height visible
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    // Without a shell's taskbar Wine shows the icons in a tray window of its own.
    if (!tray || !IsWindowVisible(tray)) tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    if (!tray) return Fail("no notification area");
    RECT r{};
    GetWindowRect(tray, &r);
    std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right - r.left, r.bottom - r.top, IsWindowVisible(tray) ? 1 : 0);
    return 0;
  }
  if (command == L"time-start" && argc >= 4) {  // PROGRAM TITLE: ms from CreateProcess to a visible window
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
    const ULONGLONG started = GetTickCount64();
    if (!CreateProcessW(argv[2], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      return Fail("could not start the program");
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (;;) {
      HWND window = FindByTitle(argv[3]);
      if (window && IsWindowVisible(window)) break;
      if (GetTickCount64() - started > 60000) return Fail("no visible window within 60 s");
      Sleep(1);
    }
    std::printf("%llu\n", GetTickCount64() - started);
    return 0;
  }
  if ((command == L"edit-set" || command == L"edit-fill") && argc >= 4) {  // TITLE TEXT | TITLE CHARACTERS
    HWND window = FindByTitle(argv[2]);
    HWND edit = window ? FindWindowExW(window, nullptr, L"Edit", nullptr) : nullptr;
    if (!edit) return Fail("no edit control");
    std::wstring text = argv[3];
    if (command == L"edit-fill") {
      const size_t count = std::wcstoul(argv[3], nullptr, 0);
      const std::wstring line = L"これは長い文章の読み上げの試験です。This is a long text.\r\n";
      text.clear();
      while (text.size() < count) text += line;
      text.resize(count);
    }
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return 0;
  }
  if (command == L"edit-select" && argc >= 5) {  // TITLE START END (END -1: to the end)
    HWND window = FindByTitle(argv[2]);
    HWND edit = window ? FindWindowExW(window, nullptr, L"Edit", nullptr) : nullptr;
    if (!edit) return Fail("no edit control");
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(_wtoi(argv[3])), static_cast<LPARAM>(_wtoi(argv[4])));
    return 0;
  }
  if (command == L"clipboard") {  // "empty" or "text N" (N UTF-16 units)
    if (!OpenClipboard(nullptr)) return Fail("clipboard busy");
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (text) {
      std::printf("text %zu\n", std::wcslen(text));
      GlobalUnlock(data);
    } else {
      std::printf("empty\n");
    }
    CloseClipboard();
    return 0;
  }
  if (command == L"foreground") {  // the foreground window's title
    wchar_t text[256] = {};
    GetWindowTextW(GetForegroundWindow(), text, 256);
    std::printf("%ls\n", text);
    return 0;
  }
  if (command == L"alive") {  // TITLE: exit status 0 when the window exists
    return FindByTitle(argv[2]) ? 0 : 1;
  }
  if (command == L"menu") {  // exit status 0 while a pop-up menu is shown; prints its rectangle
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return 1;
    RECT r{};
    GetWindowRect(menu, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
  }
  if (command == L"activate" && argc >= 3) {  // TITLE: make it the foreground window
    HWND window = FindByTitle(argv[2]);
    if (!window) return Fail("no such window");
    SetForegroundWindow(window);
    // Wine makes the change once the X server has moved the focus.
    for (int i = 0; i < 50 && GetForegroundWindow() != window; ++i) Sleep(100);
    return GetForegroundWindow() == window ? 0 : Fail("it did not come to the foreground");
  }
  if (command == L"control" && argc >= 4) {  // TITLE ID: left top width height visible of a child
    return PrintControl(FindByTitle(argv[2]), _wtoi(argv[3]));
  }
  if (command == L"item-set" && argc >= 5) {  // TITLE ID TEXT: a child control's text, as if typed
    HWND window = FindByTitle(argv[2]);
    HWND item = window ? GetDlgItem(window, _wtoi(argv[3])) : nullptr;
    if (!item) return Fail("control not found");
    SendMessageW(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
    return 0;
  }
  if (command == L"box" && argc >= 4) {  // CAPTION SECONDS: a message box's text (UTF-8), then OK pressed
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(_wtoi(argv[3])) * 1000;
    HWND box = nullptr;
    while ((box = FindWindowW(L"#32770", argv[2])) == nullptr) {
      if (GetTickCount64() > deadline) return Fail("no message box");
      Sleep(100);
    }
    std::wstring text;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM found) -> BOOL {
          wchar_t className[16] = {};
          wchar_t part[2048] = {};
          GetClassNameW(child, className, 16);
          if (_wcsicmp(className, L"Static") == 0 && GetWindowTextW(child, part, 2048) > 0) {
            *reinterpret_cast<std::wstring*>(found) += part;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    std::printf("%s\n", Utf8(text.c_str()).c_str());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
  }
  if (command == L"end-process" && argc >= 3) {  // TITLE: ends the process that owns the window, if any
    HWND window = FindByTitle(argv[2]);
    if (!window) return 0;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process) return Fail("cannot open the window's process");
    const bool ended = TerminateProcess(process, 1) && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended ? 0 : Fail("the process did not end");
  }
  if (command == L"page-control" && argc >= 4) {  // TITLE ID: the same, of a child of the page shown
    HWND dialog = FindByTitle(argv[2]);
    return PrintControl(dialog ? VisiblePage(dialog) : nullptr, _wtoi(argv[3]));
  }
  if (command == L"page-shows" && argc >= 4) {  // TITLE TEXT: exit status 0 when the page shown has it
    HWND dialog = FindByTitle(argv[2]);
    HWND page = dialog ? VisiblePage(dialog) : nullptr;
    for (HWND child = page ? GetWindow(page, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT)) {
      // GetWindowText of another process's window gives its caption, which an edit box does not keep.
      wchar_t text[512] = {};
      DWORD_PTR copied = 0;
      SendMessageTimeoutW(child, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied);
      if (std::wcscmp(text, argv[3]) == 0) return 0;
    }
    return 1;
  }
  if (command == L"tab-rect" && argc >= 4) {  // TITLE INDEX: left top width height of a tab of the dialog
    HWND dialog = FindByTitle(argv[2]);
    HWND tabs = dialog ? FindWindowExW(dialog, nullptr, L"SysTabControl32", nullptr) : nullptr;
    if (!tabs) return Fail("no tab control");
    // The rectangle comes back through the other process's memory.
    DWORD processId = 0;
    GetWindowThreadProcessId(tabs, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return Fail("cannot open the dialog's process");
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    RECT r{};
    const bool ok = remote && SendMessageW(tabs, TCM_GETITEMRECT, _wtoi(argv[3]), reinterpret_cast<LPARAM>(remote)) &&
                    ReadProcessMemory(process, remote, &r, sizeof(r), nullptr);
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (!ok) return Fail("no such tab");
    MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&r), 2);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
  }
  if (command == L"key-probe" && argc >= 3) {  // VK[+VK...]: exit 0 when a window of its own in front gets the keys
    // A combination registered as a hot key never reaches the window in front.
    HWND probe = CreateWindowExW(0, L"EDIT", L"Ostrel key probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 600, 300, 80,
                                 nullptr, nullptr, nullptr, nullptr);
    if (!probe) return Fail("could not make the probe window");
    SetForegroundWindow(probe);
    SetFocus(probe);
    MSG message;
    for (int i = 0; i < 50 && GetForegroundWindow() != probe; ++i) {
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      Sleep(100);
    }
    if (GetForegroundWindow() != probe) return Fail("the probe window did not come to the foreground");
    const std::vector<WORD> keys = ParseKeys(argv[2]);
    if (keys.empty()) return Fail("no keys");
    SendKeys(keys);
    bool arrived = false;
    const ULONGLONG deadline = GetTickCount64() + 3000;
    while (!arrived && GetTickCount64() < deadline) {
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_KEYDOWN && message.wParam == keys.back()) arrived = true;
        DispatchMessageW(&message);
      }
      Sleep(10);
    }
    DestroyWindow(probe);
    return arrived ? 0 : Fail("the keys did not arrive");
  }
  if (command == L"hotkey-free" && argc >= 4) {  // MODIFIERS VK: exit status 0 when nobody holds it
    const UINT modifiers = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 0));
    const UINT vk = static_cast<UINT>(std::wcstoul(argv[3], nullptr, 0));
    if (!RegisterHotKey(nullptr, 1, modifiers, vk)) return Fail("held by another program");
    UnregisterHotKey(nullptr, 1);
    return 0;
  }
  if (command == L"record-open" && argc >= 4) {  // LOG ARG: stands in for a document's program
    FILE* log = _wfopen(argv[2], L"ab");
    if (!log) return Fail("cannot open the log");
    std::fprintf(log, "%s\n", Utf8(argv[3]).c_str());
    std::fclose(log);
    return 0;
  }
  if (command == L"version-info" && argc >= 3) {  // FILE: product|version|description|file version
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(argv[2], &ignored);
    std::vector<BYTE> data(size);
    if (size == 0 || !GetFileVersionInfoW(argv[2], 0, size, data.data())) return Fail("no version resource");
    auto text = [&](const wchar_t* name) {
      const std::wstring path = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
      wchar_t* value = nullptr;
      UINT length = 0;
      return VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) && value
                 ? Utf8(value) : std::string();
    };
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
      return Fail("no fixed version");
    std::printf("%s|%s|%s|%d.%d.%d.%d\n", text(L"ProductName").c_str(), text(L"ProductVersion").c_str(),
                text(L"FileDescription").c_str(), HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    return 0;
  }
  if (command == L"resources" && argc >= 3) {  // TITLE: gdi user handles private-bytes of its process
    HWND window = FindByTitle(argv[2]);
    if (!window) return Fail("window not found");
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_DUP_HANDLE, FALSE, pid);
    if (!process) return Fail("cannot open the process");
    const ResourceCounts counts = CountResources(process, pid);
    std::printf("%lu %lu %lu %llu\n", counts.gdi, counts.user, counts.handles, counts.privateBytes);
    CloseHandle(process);
    return 0;
  }
  if (command == L"process-path" && argc >= 3) {  // TITLE: the program file of the window's process
    HWND window = FindByTitle(argv[2]);
    if (!window) return Fail("window not found");
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return Fail("cannot open the process");
    wchar_t path[32768];
    DWORD size = 32768;
    const BOOL ok = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    if (!ok) return Fail("no image name");
    std::printf("%s\n", Utf8(path).c_str());
    return 0;
  }
  return Fail("unknown command");
}
