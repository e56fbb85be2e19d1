// SpStream: a stream with a format, over a stream the caller owns. Everything read or written
// goes straight to that stream.
#include <cstring>
#include <new>

#include "standin_win32.h"

namespace sapistandin {

namespace {

constexpr HRESULT kAlreadyInitialised = static_cast<HRESULT>(0x80045002);

class Stream final : public ComObject<ISpStream> {
 public:
  ~Stream() override { CoTaskMemFree(format_); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return Answer(riid, out, static_cast<ISpStream*>(this),
                  {&IID_IUnknown, &IID_ISequentialStream, &IID_IStream, &IID_ISpStreamFormat, &IID_ISpStream});
  }

  HRESULT STDMETHODCALLTYPE SetBaseStream(IStream* stream, REFGUID formatId, const WAVEFORMATEX* format) override {
    if (stream == nullptr) return E_INVALIDARG;
    if (base_) return kAlreadyInitialised;
    const bool wave = formatId == sapiids::kWaveFormatExFormatId;
    if (wave != (format != nullptr)) return E_INVALIDARG;
    if (format != nullptr) {
      const std::size_t size = sizeof(WAVEFORMATEX) + (format->wFormatTag == WAVE_FORMAT_PCM ? 0 : format->cbSize);
      format_ = static_cast<WAVEFORMATEX*>(CoTaskMemAlloc(size));
      if (format_ == nullptr) return E_OUTOFMEMORY;
      std::memcpy(format_, format, size);
      if (format_->wFormatTag == WAVE_FORMAT_PCM) format_->cbSize = 0;
    }
    formatId_ = formatId;
    base_ = Share(stream);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBaseStream(IStream** stream) override {
    if (stream == nullptr) return E_POINTER;
    *stream = Share(base_.get()).release();
    return base_ ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE BindToFile(LPCWSTR, SPFILEMODE, const GUID*, const WAVEFORMATEX*, ULONGLONG) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Close() override {
    if (!base_) return sapiids::kSpErrUninitialized;
    base_.reset();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetFormat(GUID* formatId, WAVEFORMATEX** format) override {
    if (formatId == nullptr || format == nullptr) return E_POINTER;
    *format = nullptr;
    if (!base_) return sapiids::kSpErrUninitialized;
    *formatId = formatId_;
    if (format_ == nullptr) return S_OK;
    const std::size_t size = sizeof(WAVEFORMATEX) + format_->cbSize;
    *format = static_cast<WAVEFORMATEX*>(CoTaskMemAlloc(size));
    if (*format == nullptr) return E_OUTOFMEMORY;
    std::memcpy(*format, format_, size);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Read(void* data, ULONG size, ULONG* read) override {
    return base_ ? base_->Read(data, size, read) : sapiids::kSpErrUninitialized;
  }
  HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG size, ULONG* written) override {
    return base_ ? base_->Write(data, size, written) : sapiids::kSpErrUninitialized;
  }
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
    return base_ ? base_->Seek(move, origin, position) : sapiids::kSpErrUninitialized;
  }
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override {
    return base_ ? base_->SetSize(size) : sapiids::kSpErrUninitialized;
  }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* to, ULARGE_INTEGER size, ULARGE_INTEGER* read,
                                   ULARGE_INTEGER* written) override {
    return base_ ? base_->CopyTo(to, size, read, written) : sapiids::kSpErrUninitialized;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override {
    return base_ ? base_->Commit(flags) : sapiids::kSpErrUninitialized;
  }
  HRESULT STDMETHODCALLTYPE Revert() override { return base_ ? base_->Revert() : sapiids::kSpErrUninitialized; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type) override {
    return base_ ? base_->LockRegion(offset, size, type) : sapiids::kSpErrUninitialized;
  }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type) override {
    return base_ ? base_->UnlockRegion(offset, size, type) : sapiids::kSpErrUninitialized;
  }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override {
    return base_ ? base_->Stat(stat, flags) : sapiids::kSpErrUninitialized;
  }
  HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

 private:
  ComPtr<IStream> base_;
  GUID formatId_{};
  WAVEFORMATEX* format_ = nullptr;
};

}  // namespace

HRESULT CreateStream(REFIID riid, void** out) { return CreateAs<Stream>(riid, out); }

}  // namespace sapistandin
