// The stand-in sapi.dll: the part of SAPI 5 that programs use to find voices and render text into
// a stream, for a Wine prefix whose own sapi.dll cannot speak. Each class's creation, and the few
// helpers they share.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <sapi.h>

#include <atomic>
#include <new>
#include <string>

#include "../sapi_engine_interfaces.h"
#include "platform/unique_handle_win32.h"

namespace sapistandin {

using ostrel::ComPtr;

// Objects alive, for DllCanUnloadNow.
extern std::atomic<long> g_objects;

template <typename I>
ComPtr<I> Share(I* object) {
  if (object != nullptr) object->AddRef();
  return ComPtr<I>(object);
}

// A copy in CoTaskMem memory, as SAPI hands strings to its callers.
HRESULT CoTaskCopy(const std::wstring& text, LPWSTR* out);

// The base of every object here: its count of references and its part in g_objects.
template <typename I>
class ComObject : public I {
 public:
  ComObject() { ++g_objects; }
  virtual ~ComObject() { --g_objects; }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --refs_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 protected:
  // For QueryInterface: hands out `as` when `riid` is one of `ids`.
  HRESULT Answer(REFIID riid, void** out, void* as, std::initializer_list<const IID*> ids) {
    if (out == nullptr) return E_POINTER;
    for (const IID* id : ids) {
      if (riid == *id) {
        *out = as;
        AddRef();
        return S_OK;
      }
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }

 private:
  std::atomic<long> refs_{1};
};

// A new object of class T, handed out as `riid`.
template <typename T>
HRESULT CreateAs(REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  T* object = new (std::nothrow) T();
  if (object == nullptr) return E_OUTOFMEMORY;
  const HRESULT result = object->QueryInterface(riid, out);
  object->Release();
  return result;
}

HRESULT CreateTokenCategory(REFIID riid, void** out);
HRESULT CreateToken(REFIID riid, void** out);
HRESULT CreateVoice(REFIID riid, void** out);
HRESULT CreateStream(REFIID riid, void** out);

// A token for a full token id ("HKEY_LOCAL_MACHINE\...\Tokens\Name").
HRESULT OpenToken(const std::wstring& id, ISpObjectToken** out);

// The first LANGID of a voice token's Attributes\Language ("409;9" gives 0x409); 0 when none.
WORD TokenLanguage(ISpObjectToken* token);

}  // namespace sapistandin
