// OstrelTestVoice.dll: a SAPI 5 voice for tests. It speaks nothing; it sounds out what it was
// given (voice_signal.h), so a test can tell exactly what reached a voice through SAPI, and the
// values under its token make it slow, fail or hang when a test needs such a voice.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <span>
#include <string>
#include <vector>

#include "../class_factory_win32.h"
#include "../sapi_engine_interfaces.h"
#include "../voice_signal.h"
#include "test_voice_tokens.h"

namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
HMODULE g_module = nullptr;

constexpr int kDefaultRate = 22050;
constexpr ULONG kNoLimit = 0xFFFFFFFF;
constexpr int kChunkMs = 50;

DWORD TokenDword(ISpObjectToken* token, const wchar_t* name, DWORD fallback) {
  DWORD value = 0;
  return SUCCEEDED(token->GetDWORD(name, &value)) ? value : fallback;
}

bool IsOurPcm(const WAVEFORMATEX* format) {
  return format != nullptr && format->wFormatTag == WAVE_FORMAT_PCM && format->nChannels == 1 &&
         format->wBitsPerSample == 16 && format->nSamplesPerSec >= static_cast<DWORD>(testvoice::kMinRate) &&
         format->nSamplesPerSec <= 192000;
}

class TestVoice final : public ISpTTSEngine, public ISpObjectWithToken {
 public:
  TestVoice() { ++g_objects; }
  TestVoice(const TestVoice&) = delete;
  TestVoice& operator=(const TestVoice&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == sapiids::kISpTTSEngine) {
      *out = static_cast<ISpTTSEngine*>(this);
    } else if (riid == IID_ISpObjectWithToken) {
      *out = static_cast<ISpObjectWithToken*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --refs_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // ISpObjectWithToken: the token's values are read once, as a voice reads its data files.
  HRESULT STDMETHODCALLTYPE SetObjectToken(ISpObjectToken* token) override {
    if (token == nullptr) return E_INVALIDARG;
    if (token_ != nullptr) return static_cast<HRESULT>(0x80045002);  // SPERR_ALREADY_INITIALIZED
    if (TokenDword(token, testvoice::kFailCreate, 0) != 0) return testvoice::kFailCreateResult;
    realTimePercent_ = TokenDword(token, testvoice::kRealTimePercent, 0);
    failAfter_ = TokenDword(token, testvoice::kFailAfter, kNoLimit);
    hangAfter_ = TokenDword(token, testvoice::kHangAfter, kNoLimit);
    hangMs_ = TokenDword(token, testvoice::kHangMs, 60000);
    hangIgnoresAbort_ = TokenDword(token, testvoice::kHangIgnoresAbort, 0) != 0;
    token_ = token;
    token_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetObjectToken(ISpObjectToken** token) override {
    if (token == nullptr) return E_POINTER;
    *token = token_;
    if (token_ == nullptr) return S_FALSE;
    token_->AddRef();
    return S_OK;
  }

  // ISpTTSEngine
  HRESULT STDMETHODCALLTYPE GetOutputFormat(const GUID* targetId, const WAVEFORMATEX* target, GUID* outputId,
                                            WAVEFORMATEX** output) override {
    if (outputId == nullptr || output == nullptr) return E_POINTER;
    auto* format = static_cast<WAVEFORMATEX*>(CoTaskMemAlloc(sizeof(WAVEFORMATEX)));
    if (format == nullptr) return E_OUTOFMEMORY;
    const bool takeTarget = targetId != nullptr && *targetId == sapiids::kWaveFormatExFormatId && IsOurPcm(target);
    const DWORD rate = takeTarget ? target->nSamplesPerSec : kDefaultRate;
    *format = WAVEFORMATEX{WAVE_FORMAT_PCM, 1, rate, rate * 2, 2, 16, 0};
    *outputId = sapiids::kWaveFormatExFormatId;
    *output = format;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Speak(DWORD, REFGUID formatId, const WAVEFORMATEX* format, const SPVTEXTFRAG* fragments,
                                  ISpTTSEngineSite* site) override {
    if (site == nullptr || fragments == nullptr) return E_INVALIDARG;
    if (formatId != sapiids::kWaveFormatExFormatId || !IsOurPcm(format)) return E_INVALIDARG;
    site_ = site;
    rate_ = static_cast<int>(format->nSamplesPerSec);
    seen_ = 0;
    try {
      for (const SPVTEXTFRAG* fragment = fragments; fragment != nullptr; fragment = fragment->pNext) {
        if (Stopped()) return S_OK;
        if (rendered_ == failAfter_) return testvoice::kFailAfterResult;
        if (rendered_ == hangAfter_) {
          Hang();
          return S_OK;
        }
        const HRESULT result = Render(*fragment);
        if (result != S_OK) return SUCCEEDED(result) ? S_OK : result;
        ++rendered_;
      }
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

 private:
  ~TestVoice() {
    if (token_ != nullptr) token_->Release();
    --g_objects;
  }

  // Polls the site. True when the voice should end this Speak call (abort, or a skip it refuses:
  // a fragment is all it knows of sentences). What it saw is written down on the way out.
  bool Stopped() {
    const DWORD actions = site_->GetActions();
    seen_ |= static_cast<std::uint8_t>(actions);
    if ((actions & SPVES_RATE) != 0) site_->GetRate(&siteRate_);
    if ((actions & SPVES_VOLUME) != 0) site_->GetVolume(&siteVolume_);
    if ((actions & (SPVES_ABORT | SPVES_SKIP)) == 0) return false;
    testvoice::Record record;
    record.type = testvoice::RecordType::kAction;
    record.action.fragmentIndex = static_cast<std::uint16_t>(rendered_);
    record.action.actions = static_cast<std::uint8_t>(actions);
    if ((actions & SPVES_SKIP) != 0) {
      SPVSKIPTYPE type = SPVST_SENTENCE;
      long items = 0;
      site_->GetSkipInfo(&type, &items);
      site_->CompleteSkip(0);
      record.action.skipItems = items;
    }
    Write(testvoice::EncodeRecord(record, rate_));
    return true;
  }

  HRESULT Write(std::span<const std::int16_t> samples) {
    if (samples.empty()) return S_OK;
    ULONG written = 0;
    return site_->Write(samples.data(), static_cast<ULONG>(samples.size_bytes()), &written);
  }

  // Writes in chunks, each after the time a voice this slow would take for it. S_FALSE: stopped.
  HRESULT WritePaced(const std::vector<std::int16_t>& samples) {
    if (realTimePercent_ == 0) return Write(samples);
    const std::size_t chunk = static_cast<std::size_t>(rate_) * kChunkMs / 1000;
    for (std::size_t at = 0; at < samples.size(); at += chunk) {
      Sleep(static_cast<DWORD>(kChunkMs * realTimePercent_ / 100));
      if (Stopped()) return S_FALSE;
      const HRESULT result = Write(std::span<const std::int16_t>(samples).subspan(at, std::min(chunk, samples.size() - at)));
      if (FAILED(result)) return result;
    }
    return S_OK;
  }

  HRESULT Render(const SPVTEXTFRAG& fragment) {
    site_->GetRate(&siteRate_);
    site_->GetVolume(&siteVolume_);
    const SPVSTATE& state = fragment.State;
    testvoice::Record record;
    testvoice::FragmentRecord& f = record.fragment;
    f.index = static_cast<std::uint16_t>(rendered_);
    f.action = static_cast<std::uint8_t>(state.eAction);
    f.siteRate = static_cast<std::int16_t>(siteRate_);
    f.siteVolume = siteVolume_;
    f.rateAdj = static_cast<std::int16_t>(state.RateAdj);
    f.middleAdj = static_cast<std::int16_t>(state.PitchAdj.MiddleAdj);
    f.volume = static_cast<std::uint16_t>(state.Volume);
    f.emphAdj = static_cast<std::int16_t>(state.EmphAdj);
    f.langId = state.LangID;
    f.silenceMs = static_cast<std::uint16_t>(std::min<ULONG>(state.SilenceMSecs, 0xFFFF));
    f.sourceOffset = fragment.ulTextSrcOffset;
    f.actionsSeen = seen_;
    seen_ = 0;
    if (fragment.pTextStart != nullptr) {
      f.text.assign(reinterpret_cast<const char16_t*>(fragment.pTextStart), fragment.ulTextLen);
    }
    std::vector<std::int16_t> sound = testvoice::EncodeRecord(record, rate_);
    if (state.eAction == SPVA_Silence) {
      sound.resize(sound.size() + static_cast<std::size_t>(rate_) * std::min<ULONG>(state.SilenceMSecs, 10000) / 1000);
    } else if (state.eAction == SPVA_Speak || state.eAction == SPVA_SpellOut || state.eAction == SPVA_Pronounce) {
      const long volume = static_cast<long>(siteVolume_) * static_cast<long>(std::min<ULONG>(state.Volume, 100)) / 100;
      const std::vector<std::int16_t> tones = testvoice::CharacterTones(
          f.text, static_cast<int>(siteRate_ + state.RateAdj), static_cast<int>(state.PitchAdj.MiddleAdj),
          static_cast<int>(volume), rate_);
      sound.insert(sound.end(), tones.begin(), tones.end());
    }
    return WritePaced(sound);
  }

  // A voice stuck inside its Speak call: only an abort (if it listens) or the time limit ends it.
  void Hang() {
    const ULONGLONG until = GetTickCount64() + hangMs_;
    while (GetTickCount64() < until) {
      Sleep(10);
      if (!hangIgnoresAbort_ && (site_->GetActions() & SPVES_ABORT) != 0) {
        Stopped();
        return;
      }
    }
  }

  std::atomic<long> refs_{1};
  ISpObjectToken* token_ = nullptr;
  ISpTTSEngineSite* site_ = nullptr;
  int rate_ = kDefaultRate;
  ULONG rendered_ = 0;
  std::uint8_t seen_ = 0;
  long siteRate_ = 0;
  USHORT siteVolume_ = 100;
  DWORD realTimePercent_ = 0;
  ULONG failAfter_ = kNoLimit;
  ULONG hangAfter_ = kNoLimit;
  DWORD hangMs_ = 60000;
  bool hangIgnoresAbort_ = false;
};

HRESULT CreateVoice(REFIID riid, void** out) {
  auto* voice = new (std::nothrow) TestVoice();
  if (voice == nullptr) return E_OUTOFMEMORY;
  const HRESULT result = static_cast<ISpTTSEngine*>(voice)->QueryInterface(riid, out);
  static_cast<ISpTTSEngine*>(voice)->Release();
  return result;
}

sapibench::ClassFactory g_factory(CreateVoice, g_locks);

LSTATUS SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Writes `values` (name, data pairs; a null name is the default value) under HKLM\path.
LSTATUS WriteKey(const std::wstring& path, std::initializer_list<std::pair<const wchar_t*, std::wstring>> values) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  for (const auto& [name, data] : values) {
    if (status == ERROR_SUCCESS) status = SetString(key, name, data);
  }
  if (key != nullptr) RegCloseKey(key);
  return status;
}

std::wstring TokenPath(const testvoice::TestToken& entry) {
  return std::wstring(entry.oneCore ? testvoice::kOneCoreTokens : testvoice::kClassicTokens) + L"\\" + entry.key;
}

std::wstring ClsidPath() { return std::wstring(L"SOFTWARE\\Classes\\CLSID\\") + testvoice::kTestVoiceClsidText; }

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (clsid != testvoice::kTestVoiceClsid) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(riid, out);
}

HRESULT WINAPI DllCanUnloadNow() { return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE; }

// The class and every test voice's token, machine-wide (needs an administrator on Windows).
HRESULT WINAPI DllRegisterServer() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return HRESULT_FROM_WIN32(GetLastError());
  LSTATUS status = WriteKey(ClsidPath(), {{nullptr, L"Ostrel test voice"}});
  if (status == ERROR_SUCCESS) {
    status = WriteKey(ClsidPath() + L"\\InprocServer32", {{nullptr, path}, {L"ThreadingModel", L"Both"}});
  }
  for (const testvoice::TestToken& entry : testvoice::kTestTokens) {
    if (status != ERROR_SUCCESS) break;
    status = WriteKey(TokenPath(entry), {{nullptr, entry.name}, {L"CLSID", testvoice::kTestVoiceClsidText}});
    if (status == ERROR_SUCCESS) {
      status = WriteKey(TokenPath(entry) + L"\\Attributes", {{L"Language", entry.language},
                                                            {L"Name", entry.name},
                                                            {L"Gender", entry.gender},
                                                            {L"Age", L"Adult"},
                                                            {L"Vendor", testvoice::kVendor}});
    }
  }
  return HRESULT_FROM_WIN32(status);
}

HRESULT WINAPI DllUnregisterServer() {
  LSTATUS worst = ERROR_SUCCESS;
  const auto remove = [&worst](const std::wstring& path) {
    const LSTATUS status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) worst = status;
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
  };
  for (const testvoice::TestToken& entry : testvoice::kTestTokens) remove(TokenPath(entry));
  remove(ClsidPath());
  return HRESULT_FROM_WIN32(worst);
}

}  // extern "C"
