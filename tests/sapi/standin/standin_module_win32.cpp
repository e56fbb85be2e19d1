// The module: one class factory per class, found through the CLSIDs under which the prefix
// registers SAPI (C:\windows\system32\Speech\Common\sapi.dll).
#include "../class_factory_win32.h"
#include "standin_win32.h"

namespace sapistandin {

std::atomic<long> g_objects{0};

namespace {

std::atomic<long> g_locks{0};

using Factory = sapibench::ClassFactory;
Factory g_categories(CreateTokenCategory, g_locks);
Factory g_tokens(CreateToken, g_locks);
Factory g_voices(CreateVoice, g_locks);
Factory g_streams(CreateStream, g_locks);

}  // namespace

}  // namespace sapistandin

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  using namespace sapistandin;
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  Factory* factory = nullptr;
  if (clsid == CLSID_SpObjectTokenCategory) factory = &g_categories;
  else if (clsid == CLSID_SpObjectToken) factory = &g_tokens;
  else if (clsid == CLSID_SpVoice) factory = &g_voices;
  else if (clsid == CLSID_SpStream) factory = &g_streams;
  return factory != nullptr ? factory->QueryInterface(riid, out) : CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT WINAPI DllCanUnloadNow() {
  return sapistandin::g_objects == 0 && sapistandin::g_locks == 0 ? S_OK : S_FALSE;
}

}  // extern "C"
