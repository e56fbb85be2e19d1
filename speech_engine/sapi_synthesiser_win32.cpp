#include "sapi_synthesiser_win32.h"

#include <windows.h>
#include <objbase.h>
#include <sapi.h>
#include <shlwapi.h>

#include <optional>
#include <utility>

#include "engine_log_win32.h"
#include "log_seam.h"
#include "platform/unique_handle_win32.h"
#include "prosody_mapping.h"
#include "wine_host_win32.h"

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

std::wstring EscapedForXml(std::u16string_view text) {
  std::wstring escaped;
  escaped.reserve(text.size());
  for (const char16_t unit : text) {
    switch (unit) {
      case u'&': escaped += L"&amp;"; break;
      case u'<': escaped += L"&lt;"; break;
      case u'>': escaped += L"&gt;"; break;
      default: escaped += static_cast<wchar_t>(unit);
    }
  }
  return escaped;
}

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

}  // namespace

void ReleaseSapiThreadVoice() noexcept { threadVoice = {}; }

std::vector<SapiVoiceToken> FindSapiVoices() {
  std::vector<SapiVoiceToken> voices;
  if (RunsUnderWine()) return voices;
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
  try {
    out.spokenText = std::u16string(text);
    out.pcm = {};
    ISpVoice* voice = VoiceFor(tokenId_);
    if (voice == nullptr) return false;

    ComPtr<IStream> memory;
    memory.reset(SHCreateMemStream(nullptr, 0));
    ComPtr<ISpStream> stream;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = kSampleRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = kSampleRate * 2;
    if (!memory ||
        Failed(CoCreateInstance(CLSID_SpStream, nullptr, CLSCTX_ALL, IID_PPV_ARGS(stream.put())), "SAPI stream") ||
        Failed(stream->SetBaseStream(memory.get(), kWaveFormatExFormatId, &format), "SAPI SetBaseStream") ||
        Failed(voice->SetOutput(stream.get(), TRUE), "SAPI SetOutput")) {
      return false;
    }
    const std::wstring xml = L"<pitch absmiddle=\"" + std::to_wstring(SapiPitch(prosody.pitch)) +
                             L"\"><rate absspeed=\"" + std::to_wstring(SapiRate(prosody.speed)) + L"\">" +
                             EscapedForXml(text) + L"</rate></pitch>";
    if (Failed(voice->Speak(xml.c_str(), SPF_ASYNC | SPF_IS_XML | SPF_PURGEBEFORESPEAK, nullptr), "SAPI Speak")) {
      voice->SetOutput(nullptr, FALSE);
      return false;
    }
    for (;;) {
      const HRESULT waited = voice->WaitUntilDone(kPollMs);
      if (waited == S_OK) break;
      if (Failed(waited, "SAPI WaitUntilDone") || cancelled()) {
        voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
        voice->SetOutput(nullptr, FALSE);
        return false;
      }
    }
    voice->SetOutput(nullptr, FALSE);

    ULARGE_INTEGER size{};
    LARGE_INTEGER origin{};
    if (FAILED(memory->Seek(origin, STREAM_SEEK_END, &size)) || size.QuadPart > 0x7FFFFFFF ||
        FAILED(memory->Seek(origin, STREAM_SEEK_SET, nullptr))) {
      return false;
    }
    out.pcm.sampleRate = static_cast<int>(kSampleRate);
    out.pcm.samples.resize(static_cast<std::size_t>(size.QuadPart / 2));
    ULONG read = 0;
    if (FAILED(memory->Read(out.pcm.samples.data(), static_cast<ULONG>(out.pcm.samples.size() * 2), &read))) {
      return false;
    }
    out.pcm.samples.resize(read / 2);
    return true;
  } catch (...) {
    LogCaught("SAPI rendering");
    return false;
  }
}

}  // namespace ostrel::orvatone
