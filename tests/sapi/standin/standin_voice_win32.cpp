// SpVoice: takes text (markup or plain), queues it, and has the voice of the chosen token render
// it into the output stream, on a thread of its own for asynchronous calls. Also the site through
// which the voice asks for real-time actions and writes its sound.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "sapi_markup.h"
#include "standin_win32.h"

namespace sapistandin {

namespace {

constexpr DWORD kUsedFlags = SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_FILENAME | SPF_IS_XML | SPF_IS_NOT_XML |
                             SPF_PERSIST_XML | SPF_NLP_SPEAK_PUNC | SPF_PARSE_SAPI | SPF_PARSE_SSML;

struct Request {
  ULONG stream = 0;
  DWORD flags = 0;
  std::vector<MarkupFragment> fragments;
  ComPtr<ISpStreamFormat> output;
  ComPtr<ISpTTSEngine> engine;
};

bool SameFormat(const GUID& aId, const WAVEFORMATEX* a, const GUID& bId, const WAVEFORMATEX* b) {
  if (aId != bId || (a == nullptr) != (b == nullptr)) return false;
  return a == nullptr || (std::memcmp(a, b, sizeof(WAVEFORMATEX) - sizeof(WORD)) == 0 && a->cbSize == b->cbSize &&
                          std::memcmp(a + 1, b + 1, a->cbSize) == 0);
}

class Voice;

// Lives inside its voice, which outlives every call of the voice it serves: the voice object
// waits for its thread before it goes.
class Site final : public ISpTTSEngineSite {
 public:
  explicit Site(Voice& voice) : voice_(voice) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE AddEvents(const SPEVENT*, ULONG) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetEventInterest(ULONGLONG* interest) override {
    if (interest == nullptr) return E_POINTER;
    *interest = 0;
    return S_OK;
  }
  DWORD STDMETHODCALLTYPE GetActions() override;
  HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG size, ULONG* written) override;
  HRESULT STDMETHODCALLTYPE GetRate(long* rate) override;
  HRESULT STDMETHODCALLTYPE GetVolume(USHORT* volume) override;
  HRESULT STDMETHODCALLTYPE GetSkipInfo(SPVSKIPTYPE* type, long* items) override {
    if (type == nullptr || items == nullptr) return E_POINTER;
    *type = SPVST_SENTENCE;
    *items = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CompleteSkip(long skipped) override { return skipped == 0 ? S_OK : E_INVALIDARG; }

 private:
  Voice& voice_;
};

class Voice final : public ComObject<ISpVoice> {
 public:
  Voice() : site_(*this) {}
  ~Voice() override {
    {
      std::lock_guard lock(mutex_);
      shutdown_ = true;
      queue_.clear();
      abort_ = true;
    }
    work_.notify_all();
    if (worker_.joinable()) worker_.join();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return Answer(riid, out, static_cast<ISpVoice*>(this),
                  {&IID_IUnknown, &IID_ISpNotifySource, &IID_ISpEventSource, &IID_ISpVoice});
  }

  // ISpNotifySource, ISpEventSource: no events are raised.
  HRESULT STDMETHODCALLTYPE SetNotifySink(ISpNotifySink*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetNotifyWindowMessage(HWND, UINT, WPARAM, LPARAM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetNotifyCallbackFunction(SPNOTIFYCALLBACK*, WPARAM, LPARAM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetNotifyCallbackInterface(ISpNotifyCallback*, WPARAM, LPARAM) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetNotifyWin32Event() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE WaitForNotifyEvent(DWORD) override { return E_NOTIMPL; }
  HANDLE STDMETHODCALLTYPE GetNotifyEventHandle() override { return nullptr; }
  HRESULT STDMETHODCALLTYPE SetInterest(ULONGLONG, ULONGLONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetEvents(ULONG, SPEVENT*, ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetInfo(SPEVENTSOURCEINFO*) override { return E_NOTIMPL; }

  // A stream with a format takes the sound; null stands for the default audio device, which
  // this voice object does not have, so only a later Speak fails.
  HRESULT STDMETHODCALLTYPE SetOutput(IUnknown* output, BOOL) override {
    ComPtr<ISpStreamFormat> stream;
    if (output != nullptr &&
        FAILED(output->QueryInterface(IID_ISpStreamFormat, reinterpret_cast<void**>(stream.put())))) {
      ComPtr<ISpObjectToken> token;
      return SUCCEEDED(output->QueryInterface(IID_ISpObjectToken, reinterpret_cast<void**>(token.put())))
                 ? E_NOTIMPL
                 : E_INVALIDARG;
    }
    std::lock_guard lock(mutex_);
    output_ = std::move(stream);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetOutputObjectToken(ISpObjectToken**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetOutputStream(ISpStreamFormat** stream) override {
    if (stream == nullptr) return E_POINTER;
    std::lock_guard lock(mutex_);
    *stream = Share(output_.get()).release();
    return output_ ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Pause() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Resume() override { return E_NOTIMPL; }

  // The voice is made from its token at once, so that a voice that cannot start says so here.
  HRESULT STDMETHODCALLTYPE SetVoice(ISpObjectToken* token) override {
    if (token == nullptr) return E_NOTIMPL;  // the default voice
    ComPtr<ISpTTSEngine> engine;
    const HRESULT result =
        token->CreateInstance(nullptr, CLSCTX_ALL, sapiids::kISpTTSEngine, reinterpret_cast<void**>(engine.put()));
    if (FAILED(result)) return result;
    const WORD language = TokenLanguage(token);
    std::lock_guard lock(mutex_);
    token_ = Share(token);
    engine_ = std::move(engine);
    language_ = language;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetVoice(ISpObjectToken** token) override {
    if (token == nullptr) return E_POINTER;
    std::lock_guard lock(mutex_);
    *token = Share(token_.get()).release();
    return token_ ? S_OK : sapiids::kSpErrUninitialized;
  }

  HRESULT STDMETHODCALLTYPE Speak(LPCWSTR text, DWORD flags, ULONG* streamNumber) override {
    if ((flags & ~kUsedFlags) != 0 || ((flags & SPF_IS_XML) != 0 && (flags & SPF_IS_NOT_XML) != 0)) {
      return sapiids::kSpErrInvalidFlags;
    }
    if ((flags & (SPF_IS_FILENAME | SPF_PERSIST_XML | SPF_PARSE_SSML)) != 0) return E_NOTIMPL;
    if (text == nullptr) {
      if ((flags & SPF_PURGEBEFORESPEAK) == 0) return E_POINTER;
      Purge();
      return S_OK;
    }
    Request request;
    request.flags = flags;
    MarkupState initial;
    {
      std::lock_guard lock(mutex_);
      if (!engine_ || !output_) return E_NOTIMPL;  // the default voice, the default audio device
      request.engine = Share(engine_.get());
      request.output = Share(output_.get());
      initial.langId = language_;
    }
    const std::u16string_view source(reinterpret_cast<const char16_t*>(text), wcslen(text));
    const bool markup = (flags & SPF_IS_XML) != 0 || ((flags & SPF_IS_NOT_XML) == 0 && LooksLikeMarkup(source));
    MarkupResult read = markup ? ReadMarkup(source, initial) : ReadPlainText(source, initial);
    if (!read.error.empty()) return E_INVALIDARG;
    request.fragments = std::move(read.fragments);

    if ((flags & SPF_PURGEBEFORESPEAK) != 0) Purge();
    std::unique_lock lock(mutex_);
    request.stream = ++lastQueued_;
    if (streamNumber != nullptr) *streamNumber = request.stream;
    if ((flags & SPF_ASYNC) != 0) {
      queue_.push_back(std::move(request));
      if (!worker_.joinable()) worker_ = std::thread([this] { Work(); });
      work_.notify_all();
      return S_OK;
    }
    // In turn after what is queued, on the caller's thread.
    done_.wait(lock, [this] { return queue_.empty() && !busy_; });
    busy_ = true;
    abort_ = false;
    current_ = request.stream;
    lock.unlock();
    const HRESULT result = Run(request);
    lock.lock();
    Finish(result);
    return result;
  }

  HRESULT STDMETHODCALLTYPE SpeakStream(IStream*, DWORD, ULONG*) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE GetStatus(SPVOICESTATUS* status, LPWSTR* bookmark) override {
    if (bookmark != nullptr) *bookmark = nullptr;
    if (status == nullptr) return S_OK;
    std::lock_guard lock(mutex_);
    *status = SPVOICESTATUS{};
    status->ulCurrentStream = current_;
    status->ulLastStreamQueued = lastQueued_;
    status->hrLastResult = lastResult_;
    status->dwRunningState = busy_ ? SPRS_IS_SPEAKING : (queue_.empty() ? SPRS_DONE : 0);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Skip(LPCWSTR, LONG, ULONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetPriority(SPVPRIORITY) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPriority(SPVPRIORITY*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetAlertBoundary(SPEVENTENUM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAlertBoundary(SPEVENTENUM*) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE SetRate(LONG rate) override {
    if (rate < -10 || rate > 10) return E_INVALIDARG;
    std::lock_guard lock(mutex_);
    rate_ = rate;
    actions_ |= SPVES_RATE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetRate(LONG* rate) override {
    if (rate == nullptr) return E_POINTER;
    std::lock_guard lock(mutex_);
    *rate = rate_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetVolume(USHORT volume) override {
    if (volume > 100) return E_INVALIDARG;
    std::lock_guard lock(mutex_);
    volume_ = volume;
    actions_ |= SPVES_VOLUME;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetVolume(USHORT* volume) override {
    if (volume == nullptr) return E_POINTER;
    std::lock_guard lock(mutex_);
    *volume = volume_;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE WaitUntilDone(ULONG ms) override {
    std::unique_lock lock(mutex_);
    const auto idle = [this] { return queue_.empty() && !busy_; };
    if (ms == INFINITE) {
      done_.wait(lock, idle);
      return S_OK;
    }
    return done_.wait_for(lock, std::chrono::milliseconds(ms), idle) ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE SetSyncSpeakTimeout(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSyncSpeakTimeout(ULONG*) override { return E_NOTIMPL; }
  HANDLE STDMETHODCALLTYPE SpeakCompleteEvent() override { return nullptr; }
  HRESULT STDMETHODCALLTYPE IsUISupported(LPCWSTR, void*, ULONG, BOOL* supported) override {
    if (supported != nullptr) *supported = FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DisplayUI(HWND, LPCWSTR, LPCWSTR, void*, ULONG) override { return E_NOTIMPL; }

  // For the site.
  DWORD Actions() {
    std::lock_guard lock(mutex_);
    return (abort_ ? SPVES_ABORT : 0) | actions_;
  }
  HRESULT WriteOut(const void* data, ULONG size, ULONG* written) {
    ISpStreamFormat* output = running_;  // set for the whole of the voice's Speak call
    if (output == nullptr) return sapiids::kSpErrUninitialized;
    return output->Write(data, size, written);
  }
  long SiteRate() {
    std::lock_guard lock(mutex_);
    actions_ &= ~static_cast<DWORD>(SPVES_RATE);
    return rate_;
  }
  USHORT SiteVolume() {
    std::lock_guard lock(mutex_);
    actions_ &= ~static_cast<DWORD>(SPVES_VOLUME);
    return volume_;
  }

 private:
  // Drops what waits and tells the voice at work to stop; does not wait for it.
  void Purge() {
    std::lock_guard lock(mutex_);
    queue_.clear();
    if (busy_) abort_ = true;
    done_.notify_all();
  }

  void Finish(HRESULT result) {
    lastResult_ = result;
    busy_ = false;
    done_.notify_all();
    work_.notify_all();
  }

  void Work() {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    std::unique_lock lock(mutex_);
    for (;;) {
      work_.wait(lock, [this] { return shutdown_ || (!queue_.empty() && !busy_); });
      if (shutdown_) break;
      Request request = std::move(queue_.front());
      queue_.pop_front();
      busy_ = true;
      abort_ = false;
      current_ = request.stream;
      lock.unlock();
      const HRESULT result = Run(request);
      request = {};
      lock.lock();
      Finish(result);
    }
    lock.unlock();
    if (SUCCEEDED(com)) CoUninitialize();
  }

  // One Speak call of the voice over the request's fragments, in the output's own format: this
  // voice object converts no formats, so a voice that will not write it fails the request.
  HRESULT Run(const Request& request) {
    GUID formatId{};
    WAVEFORMATEX* format = nullptr;
    HRESULT result = request.output->GetFormat(&formatId, &format);
    if (FAILED(result)) return result;
    const ostrel::CoTaskMem<WAVEFORMATEX> formatOwner(format);
    GUID voiceFormatId{};
    WAVEFORMATEX* voiceFormat = nullptr;
    result = request.engine->GetOutputFormat(&formatId, format, &voiceFormatId, &voiceFormat);
    const ostrel::CoTaskMem<WAVEFORMATEX> voiceFormatOwner(voiceFormat);
    if (FAILED(result)) return result;
    if (!SameFormat(formatId, format, voiceFormatId, voiceFormat)) return sapiids::kSpErrUnsupportedFormat;
    if (request.fragments.empty()) return S_OK;

    std::vector<SPVTEXTFRAG> list(request.fragments.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
      const MarkupFragment& from = request.fragments[i];
      SPVTEXTFRAG& to = list[i];
      to = SPVTEXTFRAG{};
      to.pNext = i + 1 < list.size() ? &list[i + 1] : nullptr;
      to.State.eAction = static_cast<SPVACTIONS>(from.state.action);
      to.State.LangID = from.state.langId;
      to.State.EmphAdj = from.state.emphAdj;
      to.State.RateAdj = from.state.rateAdj;
      to.State.Volume = from.state.volume;
      to.State.PitchAdj.MiddleAdj = from.state.middleAdj;
      to.State.PitchAdj.RangeAdj = from.state.rangeAdj;
      to.State.SilenceMSecs = from.state.silenceMs;
      to.pTextStart = reinterpret_cast<LPCWSTR>(from.text.c_str());
      to.ulTextLen = static_cast<ULONG>(from.text.size());
      to.ulTextSrcOffset = static_cast<ULONG>(from.sourceOffset);
    }
    running_ = request.output.get();
    result = request.engine->Speak(request.flags & SPF_NLP_SPEAK_PUNC, voiceFormatId, voiceFormat, list.data(), &site_);
    running_ = nullptr;
    return result;
  }

  Site site_;
  std::mutex mutex_;
  std::condition_variable work_;
  std::condition_variable done_;
  std::deque<Request> queue_;
  std::thread worker_;
  bool shutdown_ = false;
  bool busy_ = false;
  bool abort_ = false;
  DWORD actions_ = 0;
  ULONG lastQueued_ = 0;
  ULONG current_ = 0;
  HRESULT lastResult_ = S_OK;
  ComPtr<ISpObjectToken> token_;
  ComPtr<ISpTTSEngine> engine_;
  ComPtr<ISpStreamFormat> output_;
  std::atomic<ISpStreamFormat*> running_{nullptr};
  WORD language_ = 0;
  long rate_ = 0;
  USHORT volume_ = 100;
};

HRESULT Site::QueryInterface(REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_ISpEventSink || riid == sapiids::kISpTTSEngineSite) {
    *out = this;
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG Site::AddRef() { return 2; }
ULONG Site::Release() { return 1; }
DWORD Site::GetActions() { return voice_.Actions(); }
HRESULT Site::Write(const void* data, ULONG size, ULONG* written) {
  if (data == nullptr && size > 0) return E_POINTER;
  return voice_.WriteOut(data, size, written);
}
HRESULT Site::GetRate(long* rate) {
  if (rate == nullptr) return E_POINTER;
  *rate = voice_.SiteRate();
  return S_OK;
}
HRESULT Site::GetVolume(USHORT* volume) {
  if (volume == nullptr) return E_POINTER;
  *volume = voice_.SiteVolume();
  return S_OK;
}

}  // namespace

HRESULT CreateVoice(REFIID riid, void** out) { return CreateAs<Voice>(riid, out); }

}  // namespace sapistandin
