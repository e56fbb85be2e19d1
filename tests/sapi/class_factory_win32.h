// The class factory both test DLLs export: a static object that makes one class through a
// creation function and counts server locks for DllCanUnloadNow.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <atomic>

namespace sapibench {

class ClassFactory final : public IClassFactory {
 public:
  using Creator = HRESULT (*)(REFIID, void**);
  constexpr ClassFactory(Creator create, std::atomic<long>& locks) : create_(create), locks_(locks) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (riid != IID_IUnknown && riid != IID_IClassFactory) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    return outer != nullptr ? CLASS_E_NOAGGREGATION : create_(riid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    lock ? ++locks_ : --locks_;
    return S_OK;
  }

 private:
  Creator create_;
  std::atomic<long>& locks_;
};

}  // namespace sapibench
