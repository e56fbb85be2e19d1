// What the SAPI tests share: the test voice registered for the length of a test (and any extra
// voice tokens a test adds, with the values that make a voice slow or failing), and rendering
// markup into memory the way the speech engine does.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <sapi.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/unique_handle_win32.h"
#include "sapi_engine_interfaces.h"
#include "test_voice/test_voice_tokens.h"
#include "voice_signal.h"

namespace sapibench {

using ostrel::ComPtr;
using ostrel::CoTaskString;

inline constexpr const wchar_t* kClassicCategory = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices";
inline constexpr const wchar_t* kOneCoreCategory = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech_OneCore\\Voices";

inline std::wstring TokenId(const testvoice::TestToken& entry) {
  return std::wstring(entry.oneCore ? kOneCoreCategory : kClassicCategory) + L"\\Tokens\\" + entry.key;
}

inline std::wstring Hex(HRESULT result) {
  wchar_t text[16];
  swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(result));
  return text;
}

class SapiBench : public ::testing::Test {
 public:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    PathRemoveFileSpecW(path);
    voiceDll_.reset(LoadLibraryW((std::wstring(path) + L"\\OstrelTestVoice.dll").c_str()));
    ASSERT_TRUE(voiceDll_) << "OstrelTestVoice.dll beside the tests";
    ASSERT_EQ(S_OK, Call("DllRegisterServer"));
  }

  void TearDown() override {
    for (const std::wstring& key : extraTokens_) {
      RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
      RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());
    }
    if (voiceDll_) Call("DllUnregisterServer");
    CoUninitialize();
  }

  HRESULT Call(const char* function) {
    const auto entry = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void (*)()>(GetProcAddress(voiceDll_.get(), function)));
    return entry != nullptr ? entry() : E_NOTIMPL;
  }

  // A voice token for the test voice (classic unless `oneCore`) with these DWORD values
  // (TestFailAfter, ...); removed after the test. Returns its id.
  std::wstring AddToken(const wchar_t* key, const wchar_t* language,
                        std::vector<std::pair<const wchar_t*, DWORD>> values, bool oneCore = false) {
    const std::wstring path =
        std::wstring(oneCore ? testvoice::kOneCoreTokens : testvoice::kClassicTokens) + L"\\" + key;
    extraTokens_.push_back(path);
    const auto setString = [](HKEY k, const wchar_t* name, const std::wstring& value) {
      RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    HKEY token = nullptr, attributes = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &token, nullptr));
    setString(token, L"CLSID", testvoice::kTestVoiceClsidText);
    for (const auto& [name, value] : values) {
      RegSetValueExW(token, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    }
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(token, L"Attributes", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &attributes, nullptr));
    setString(attributes, L"Language", language);
    setString(attributes, L"Name", key);
    RegCloseKey(attributes);
    RegCloseKey(token);
    return std::wstring(oneCore ? kOneCoreCategory : kClassicCategory) + L"\\Tokens\\" + key;
  }

  static ComPtr<ISpObjectToken> Token(const std::wstring& id, HRESULT* result = nullptr) {
    ComPtr<ISpObjectToken> token;
    HRESULT hr = CoCreateInstance(CLSID_SpObjectToken, nullptr, CLSCTX_ALL, IID_ISpObjectToken,
                                  reinterpret_cast<void**>(token.put()));
    if (SUCCEEDED(hr)) hr = token->SetId(nullptr, id.c_str(), FALSE);
    if (result != nullptr) *result = hr;
    if (FAILED(hr)) token.reset();
    return token;
  }

  // A voice object speaking with the voice of `tokenId`, as the engine makes it.
  static ComPtr<ISpVoice> Voice(const std::wstring& tokenId, HRESULT* setVoice = nullptr) {
    ComPtr<ISpVoice> voice;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                     reinterpret_cast<void**>(voice.put())));
    ComPtr<ISpObjectToken> token = Token(tokenId);
    EXPECT_TRUE(token) << "token " << testing::PrintToString(tokenId);
    if (!voice || !token) return {};
    const HRESULT result = voice->SetVoice(token.get());
    if (setVoice != nullptr) *setVoice = result;
    else EXPECT_EQ(S_OK, result);
    return voice;
  }

  // Memory behind an SpStream of 16-bit mono PCM at `rate`, set as the voice's output.
  struct Output {
    ComPtr<IStream> memory;
    ComPtr<ISpStream> stream;
    int rate = 0;
  };
  static Output Attach(ISpVoice* voice, int rate = 22050) {
    Output out;
    out.rate = rate;
    out.memory.reset(SHCreateMemStream(nullptr, 0));
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_SpStream, nullptr, CLSCTX_ALL, IID_ISpStream,
                                     reinterpret_cast<void**>(out.stream.put())));
    const DWORD samplesPerSecond = static_cast<DWORD>(rate);
    const WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, samplesPerSecond, samplesPerSecond * 2, 2, 16, 0};
    EXPECT_EQ(S_OK, out.stream->SetBaseStream(out.memory.get(), sapiids::kWaveFormatExFormatId, &format));
    EXPECT_EQ(S_OK, voice->SetOutput(out.stream.get(), TRUE));
    return out;
  }

  static std::vector<std::int16_t> Samples(IStream* memory) {
    ULARGE_INTEGER size{};
    LARGE_INTEGER origin{};
    memory->Seek(origin, STREAM_SEEK_END, &size);
    memory->Seek(origin, STREAM_SEEK_SET, nullptr);
    std::vector<std::int16_t> samples(static_cast<std::size_t>(size.QuadPart / 2));
    ULONG read = 0;
    memory->Read(samples.data(), static_cast<ULONG>(samples.size() * 2), &read);
    samples.resize(read / 2);
    return samples;
  }

  static std::vector<testvoice::Record> Records(const Output& out) {
    return testvoice::Decode(Samples(out.memory.get()), out.rate);
  }

  static std::string Dump(const std::vector<testvoice::Record>& records) {
    std::string text;
    for (const testvoice::Record& record : records) text += testvoice::Describe(record) + "\n";
    return text;
  }

  static HRESULT LastResult(ISpVoice* voice) {
    SPVOICESTATUS status{};
    EXPECT_EQ(S_OK, voice->GetStatus(&status, nullptr));
    return status.hrLastResult;
  }

 private:
  ostrel::UniqueModule voiceDll_;
  std::vector<std::wstring> extraTokens_;
};

}  // namespace sapibench
