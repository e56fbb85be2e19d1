#include "voices_win32.h"

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "encoding/utf8.h"
#include "espeak_synthesiser_win32.h"
#include "log_seam.h"
#include "sapi_synthesiser_win32.h"
#include "voice_choice.h"
#include "wave_out_device_win32.h"

namespace ostrel::orvatone {

namespace {

constexpr std::array<const wchar_t*, 4> kLanguageKeys = {L"Software\\Brantic\\Ostrel4\\Japanese",
                                                         L"Software\\Brantic\\Ostrel4\\Chinese",
                                                         L"Software\\Brantic\\Ostrel4\\English",
                                                         L"Software\\Brantic\\Ostrel4\\Korean"};
constexpr std::array<const char16_t*, 4> kEspeakLanguageIds = {u"411", u"804", u"409", u"412"};

// Like every other setting: the user's value, else the machine's.
std::u16string ChosenVoiceName(int engineLanguage) {
  const wchar_t* key = kLanguageKeys[static_cast<std::size_t>(engineLanguage - 1)];
  for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    std::array<wchar_t, 256> value{};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(root, key, L"Voice", RRF_RT_REG_SZ, nullptr, value.data(), &size) == ERROR_SUCCESS) {
      return std::u16string(reinterpret_cast<const char16_t*>(value.data()));
    }
  }
  return {};
}

std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

std::optional<LanguageVoice> OpenBestVoice(int engineLanguage) {
  if (engineLanguage < 1 || engineLanguage > 4) return std::nullopt;
  try {
    const std::vector<SapiVoiceToken> sapiVoices = FindSapiVoices();
    const std::optional<EspeakInstallation> espeak = FindEspeak(engineLanguage);
    std::vector<VoiceCandidate> candidates;
    for (const SapiVoiceToken& voice : sapiVoices) {
      candidates.push_back({voice.oneCore ? SynthesiserKind::kSapiOneCore : SynthesiserKind::kSapiClassic,
                            U16(voice.name), U16(voice.language)});
    }
    if (espeak) {
      candidates.push_back({SynthesiserKind::kEspeakNg, u"espeak-ng",
                            kEspeakLanguageIds[static_cast<std::size_t>(engineLanguage - 1)]});
    }
    const std::u16string chosenName = ChosenVoiceName(engineLanguage);
    const std::vector<std::size_t> order = RankVoices(engineLanguage, candidates, chosenName);
    // Which voice speaks, and why that one, is the first thing to know when a language sounds wrong.
    Log(order.empty() ? LogLevel::kError : LogLevel::kInfo,
        "language " + std::to_string(engineLanguage) + ": " +
            (order.empty() ? std::string("no voice") : "voice \"" + EncodeUtf8(candidates[order.front()].name) + "\"") +
            ", " + VoiceChoiceReason(engineLanguage, candidates, chosenName) + "; SAPI voices " +
            std::to_string(sapiVoices.size()) + ", espeak-ng " + (espeak ? "found" : "not found") + "; " +
            std::to_string(order.size() > 0 ? order.size() - 1 : 0) + " to fall back on");
    if (order.empty()) return std::nullopt;

    // Voices are created only when they first read, so those waiting to stand in cost nothing.
    const auto option = [&](std::size_t index) {
      VoiceOption made;
      if (index >= sapiVoices.size()) {
        made.synthesiserName = "espeak-ng";
        made.voiceName = espeak->voice + (espeak->hostMecab.empty() ? "" : "+mecab");
        made.synthesiser = std::make_unique<EspeakSynthesiser>(*espeak, engineLanguage);
      } else {
        made.synthesiserName = sapiVoices[index].oneCore ? "SAPI-OneCore" : "SAPI";
        made.voiceName = EncodeUtf8(candidates[index].name);
        made.synthesiser = std::make_unique<SapiSynthesiser>(sapiVoices[index].tokenId);
      }
      return made;
    };
    LanguageVoice voice;
    voice.device = std::make_unique<WaveOutDevice>();
    VoiceOption first = option(order.front());
    voice.synthesiserName = std::move(first.synthesiserName);
    voice.voiceName = std::move(first.voiceName);
    voice.synthesiser = std::move(first.synthesiser);
    for (std::size_t i = 1; i < order.size(); ++i) voice.fallbacks.push_back(option(order[i]));
    return voice;
  } catch (...) {
    LogCaught("choosing a voice");
  }
  return std::nullopt;
}

}  // namespace ostrel::orvatone
