#include "sapi_synthesiser_win32.h"

#include <windows.h>
#include <objbase.h>
#include <sapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine_log_win32.h"
#include "log_seam.h"
#include "platform/unique_handle_win32.h"
#include "prosody_mapping.h"
#include "sapi_speech_markup.h"

namespace ostrel::orvatone {

namespace {

// Declared by the SDK headers but defined in no import library of the cross compiler.
constexpr GUID kWaveFormatExFormatId = {0xC31ADBAE, 0x527F, 0x4FF5, {0xA2, 0x30, 0xF6, 0x2B, 0xB6, 0x1F, 0xF7, 0x0C}};

constexpr const wchar_t* kOneCoreVoices = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech_OneCore\\Voices";
constexpr const wchar_t* kClassicVoices = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices";
constexpr DWORD kSampleRate = 22050;
constexpr ULONG kPollMs = 20;

// A failed SAPI call in passing: recorded, and answered as FAILED would.
bool Failed(HRESULT result, const char* what) noexcept {
  if (SUCCEEDED(result)) return false;
  LogFailedHresult(what, result);
  return true;
}

// SAPI hands its strings over in CoTaskMem memory.
std::wstring Text(const CoTaskString& text) { return text ? std::wstring(text.get()) : std::wstring(); }

// COM for the calling thread for as long as the object lives; a thread that already has an
// apartment of another kind keeps it.
class ComApartment {
 public:
  explicit ComApartment(DWORD model) : result_(CoInitializeEx(nullptr, model)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

void AddVoices(const wchar_t* category, bool oneCore, std::vector<SapiVoiceToken>& voices) {
  ComPtr<ISpObjectTokenCategory> tokens;
  ComPtr<IEnumSpObjectTokens> found;
  ULONG count = 0;
  if (Failed(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_PPV_ARGS(tokens.put())),
             "SAPI token category") ||
      FAILED(tokens->SetId(category, FALSE)) ||
      Failed(tokens->EnumTokens(nullptr, nullptr, found.put()), "SAPI voice enumeration") ||
      FAILED(found->GetCount(&count))) {
    return;
  }
  for (ULONG i = 0; i < count; ++i) {
    ComPtr<ISpObjectToken> token;
    ComPtr<ISpDataKey> attributes;
    if (FAILED(found->Item(i, token.put())) || FAILED(token->OpenKey(L"Attributes", attributes.put()))) continue;
    CoTaskString id, name, language;
    if (FAILED(token->GetId(id.put())) || FAILED(attributes->GetStringValue(L"Language", language.put()))) continue;
    attributes->GetStringValue(L"Name", name.put());
    SapiVoiceToken voice{Text(id), Text(name), Text(language), oneCore};
    if (voice.name.empty()) voice.name = voice.tokenId.substr(voice.tokenId.find_last_of(L'\\') + 1);
    voices.push_back(std::move(voice));
  }
}

// The voice's output: PCM kept in memory as it is written, so that the player's thread sees how far
// the voice has come while it speaks (a voice that writes nothing is noticed) and can take the
// sound away in parts. SAPI writes from its own thread.
class PcmStream final : public IStream {
 public:
  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream) {
      *out = static_cast<IStream*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // ISequentialStream
  HRESULT STDMETHODCALLTYPE Read(void* data, ULONG size, ULONG* read) override {
    if (data == nullptr && size > 0) return STG_E_INVALIDPOINTER;
    std::lock_guard lock(mutex_);
    const std::size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    const ULONG count = static_cast<ULONG>(std::min<std::size_t>(size, available));
    if (count > 0) std::memcpy(data, bytes_.data() + position_, count);
    position_ += count;
    if (read != nullptr) *read = count;
    return count == size ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG size, ULONG* written) override {
    if (data == nullptr && size > 0) return STG_E_INVALIDPOINTER;
    try {
      std::lock_guard lock(mutex_);
      if (position_ + size > bytes_.size()) bytes_.resize(position_ + size);
      if (size > 0) std::memcpy(bytes_.data() + position_, data, size);
      position_ += size;
      if (size > 0) ++writes_;
    } catch (...) {
      if (written != nullptr) *written = 0;
      return STG_E_MEDIUMFULL;
    }
    if (written != nullptr) *written = size;
    return S_OK;
  }

  // IStream
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
    std::lock_guard lock(mutex_);
    long long base = 0;
    switch (origin) {
      case STREAM_SEEK_SET: base = 0; break;
      case STREAM_SEEK_CUR: base = static_cast<long long>(position_); break;
      case STREAM_SEEK_END: base = static_cast<long long>(bytes_.size()); break;
      default: return STG_E_INVALIDFUNCTION;
    }
    const long long target = base + move.QuadPart;
    if (target < 0 || target > kLargest) return STG_E_INVALIDFUNCTION;
    position_ = static_cast<std::size_t>(target);
    if (position != nullptr) position->QuadPart = static_cast<ULONGLONG>(target);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override {
    if (size.QuadPart > static_cast<ULONGLONG>(kLargest)) return STG_E_MEDIUMFULL;
    try {
      std::lock_guard lock(mutex_);
      bytes_.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (...) {
      return STG_E_MEDIUMFULL;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
    if (stat == nullptr) return STG_E_INVALIDPOINTER;
    std::lock_guard lock(mutex_);
    *stat = STATSTG{};
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = bytes_.size();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

  // How many writes have arrived: any change is progress.
  unsigned long long Writes() {
    std::lock_guard lock(mutex_);
    return writes_;
  }
  // The whole samples written beyond `from` (in samples); an odd byte waits for its pair.
  std::vector<std::int16_t> SamplesFrom(std::size_t from) {
    std::lock_guard lock(mutex_);
    const std::size_t end = bytes_.size() / 2;
    std::vector<std::int16_t> samples(end > from ? end - from : 0);
    if (!samples.empty()) std::memcpy(samples.data(), bytes_.data() + from * 2, samples.size() * 2);
    return samples;
  }

 private:
  ~PcmStream() = default;

  static constexpr long long kLargest = 0x7FFFFFFF;
  std::atomic<ULONG> references_{1};
  std::mutex mutex_;
  std::vector<unsigned char> bytes_;
  std::size_t position_ = 0;
  unsigned long long writes_ = 0;
};

// The player's thread keeps its voice for all its utterances; ReleaseSapiThreadVoice lets it go
// before the thread's apartment ends, so the thread-local is empty by the time it is destroyed.
struct ThreadVoice {
  std::wstring tokenId;
  ComPtr<ISpVoice> voice;
};
thread_local ThreadVoice threadVoice;

ISpVoice* VoiceFor(const std::wstring& tokenId) {
  if (threadVoice.voice && threadVoice.tokenId == tokenId) return threadVoice.voice.get();
  threadVoice = {};
  ComPtr<ISpVoice> voice;
  ComPtr<ISpObjectToken> token;
  if (Failed(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_PPV_ARGS(voice.put())), "SAPI voice object") ||
      Failed(CoCreateInstance(CLSID_SpObjectToken, nullptr, CLSCTX_ALL, IID_PPV_ARGS(token.put())), "SAPI token") ||
      Failed(token->SetId(nullptr, tokenId.c_str(), FALSE), "SAPI voice token") ||
      Failed(voice->SetVoice(token.get()), "SAPI SetVoice")) {
    return nullptr;
  }
  threadVoice.tokenId = tokenId;
  threadVoice.voice = std::move(voice);
  return threadVoice.voice.get();
}

// The voice object is not used again: a later utterance starts from a fresh one. One that did not
// even end after a purge is let go without a release, which would wait for it.
void DropVoice(bool stillBusy) {
  if (stillBusy) {
    Log(LogLevel::kError, "SAPI: the voice did not stop when purged and is abandoned");
    static_cast<void>(threadVoice.voice.release());
  }
  threadVoice = {};
}

// Purges what the voice still speaks and waits, within reason, for it to stop. false: it is
// still speaking; a voice object that cannot even wait is not busy either.
bool Purge(ISpVoice* voice, ULONG waitMs) {
  voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
  return voice->WaitUntilDone(waitMs) != S_FALSE;
}

}  // namespace

void ReleaseSapiThreadVoice() noexcept { threadVoice = {}; }

std::vector<SapiVoiceToken> FindSapiVoices() {
  std::vector<SapiVoiceToken> voices;
  try {
    const ComApartment apartment(COINIT_APARTMENTTHREADED);
    if (!apartment.Usable()) return voices;
    AddVoices(kOneCoreVoices, true, voices);
    AddVoices(kClassicVoices, false, voices);
  } catch (...) {
    LogCaught("listing the SAPI voices");
  }
  return voices;
}

bool SapiSynthesiser::Render(std::u16string_view text, const Prosody& prosody,
                             const std::function<bool()>& cancelled, Rendering& out) noexcept {
  Pcm whole;
  whole.sampleRate = static_cast<int>(kSampleRate);
  const bool rendered = RenderInParts(
      text, prosody, cancelled,
      [&whole](Pcm part) { whole.samples.insert(whole.samples.end(), part.samples.begin(), part.samples.end()); },
      out);
  out.pcm = std::move(whole);
  return rendered;
}

bool SapiSynthesiser::RenderInParts(std::u16string_view text, const Prosody& prosody,
                                    const std::function<bool()>& cancelled, const PcmPart& part,
                                    Rendering& out) noexcept {
  try {
    out.spokenText = std::u16string(text);
    out.pcm = {};
    ISpVoice* voice = VoiceFor(tokenId_);
    if (voice == nullptr) {
      DropVoice(false);
      return false;
    }

    // A new output for each utterance: SetOutput(nullptr) would not detach the voice but give it
    // the default audio device, which it may open after every utterance.
    ComPtr<PcmStream> memory;
    memory.reset(new PcmStream);
    ComPtr<ISpStream> stream;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = kSampleRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = kSampleRate * 2;
    if (Failed(CoCreateInstance(CLSID_SpStream, nullptr, CLSCTX_ALL, IID_PPV_ARGS(stream.put())), "SAPI stream") ||
        Failed(stream->SetBaseStream(memory.get(), kWaveFormatExFormatId, &format), "SAPI SetBaseStream") ||
        Failed(voice->SetOutput(stream.get(), TRUE), "SAPI SetOutput")) {
      DropVoice(false);
      return false;
    }
    const std::u16string markup = SapiSpeechMarkup(text, prosody);
    const std::wstring xml(markup.begin(), markup.end());
    if (Failed(voice->Speak(xml.c_str(), SPF_ASYNC | SPF_IS_XML | SPF_PURGEBEFORESPEAK, nullptr), "SAPI Speak")) {
      DropVoice(false);
      return false;
    }
    std::size_t handedOver = 0;
    const auto handOver = [&] {
      std::vector<std::int16_t> samples = memory->SamplesFrom(handedOver);
      if (samples.empty()) return;
      handedOver += samples.size();
      part(Pcm{static_cast<int>(kSampleRate), std::move(samples)});
    };
    unsigned long long writes = 0;
    auto lastProgress = std::chrono::steady_clock::now();
    for (;;) {
      const HRESULT waited = voice->WaitUntilDone(kPollMs);
      if (waited == S_OK) break;
      handOver();
      if (cancelled()) {
        // A voice that does not stop when asked is no use for the next utterance either.
        if (!Purge(voice, timing_.purgeMs)) DropVoice(true);
        return false;
      }
      const unsigned long long nowWrites = memory->Writes();
      if (nowWrites != writes) {
        writes = nowWrites;
        lastProgress = std::chrono::steady_clock::now();
      }
      if (Failed(waited, "SAPI WaitUntilDone") ||
          std::chrono::steady_clock::now() - lastProgress > std::chrono::milliseconds(timing_.noProgressMs)) {
        if (SUCCEEDED(waited)) {
          Log(LogLevel::kError, "SAPI: the voice wrote nothing for " + std::to_string(timing_.noProgressMs) + " ms");
        }
        DropVoice(!Purge(voice, timing_.purgeMs));
        return false;
      }
    }
    // Done is not success: a voice that fails midway ends the stream early and says so only here.
    SPVOICESTATUS status{};
    if (Failed(voice->GetStatus(&status, nullptr), "SAPI GetStatus") ||
        Failed(status.hrLastResult, "SAPI rendering")) {
      DropVoice(false);
      return false;
    }
    handOver();
    return true;
  } catch (...) {
    LogCaught("SAPI rendering");
    return false;
  }
}

}  // namespace ostrel::orvatone
