#pragma once
#include <windows.h>
#include <objbase.h>

namespace ostrel {

// One move-only owner for every kind of handle; Traits says how to free it.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  // A COM interface is called through its owner.
  Handle operator->() const
    requires requires { requires Traits::kInterface; }
  {
    return handle_;
  }
  Handle release() {
    Handle handle = handle_;
    handle_ = Traits::Invalid();
    return handle;
  }
  void reset(Handle handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = handle;
  }
  // For APIs that return a handle through a pointer.
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct HkeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { RegCloseKey(h); }
};
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { FreeLibrary(h); }
};
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { CloseHandle(h); }
};
// CreateFileW's failure is INVALID_HANDLE_VALUE, not null.
struct FileTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseHandle(h); }
};
struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { DestroyMenu(h); }
};
struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { DestroyIcon(h); }
};
struct MemoryDcTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { DeleteDC(h); }
};
template <typename T>
struct GdiObjectTraits {
  using Handle = T;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { DeleteObject(h); }
};

// A COM interface, released rather than closed.
template <typename I>
struct ComTraits {
  using Handle = I*;
  static constexpr bool kInterface = true;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { h->Release(); }
};
// Memory the system hands over from CoTaskMemAlloc, such as the shell's and SAPI's strings.
template <typename T>
struct CoTaskMemTraits {
  using Handle = T*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { CoTaskMemFree(h); }
};

// Memory a call hands over to be freed with LocalFree (CommandLineToArgvW, FormatMessageW).
template <typename T>
struct LocalMemTraits {
  using Handle = T;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { LocalFree(h); }
};
// A global memory block still ours; one handed to the clipboard or a stream is released first.
struct GlobalMemTraits {
  using Handle = HGLOBAL;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { GlobalFree(h); }
};
// Memory from the process heap, as Wine's path conversions hand it over.
template <typename T>
struct ProcessHeapTraits {
  using Handle = T*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { HeapFree(GetProcessHeap(), 0, h); }
};

using UniqueHkey = UniqueHandle<HkeyTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueHmenu = UniqueHandle<MenuTraits>;
using UniqueHicon = UniqueHandle<IconTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
template <typename T>
using GdiObject = UniqueHandle<GdiObjectTraits<T>>;
template <typename I>
using ComPtr = UniqueHandle<ComTraits<I>>;
template <typename T>
using CoTaskMem = UniqueHandle<CoTaskMemTraits<T>>;
using CoTaskString = CoTaskMem<wchar_t>;
template <typename T>
using LocalMem = UniqueHandle<LocalMemTraits<T>>;
using UniqueHglobal = UniqueHandle<GlobalMemTraits>;
template <typename T>
using ProcessHeapMem = UniqueHandle<ProcessHeapTraits<T>>;

// A window's (or the screen's) device context, released to the window it came from.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC for a scope and puts the old one back.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectGuard() { SelectObject(dc_, old_); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace ostrel
