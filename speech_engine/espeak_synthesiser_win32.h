// espeak-ng as a synthesiser: an installed espeak-ng.exe on Windows, the host's espeak-ng under
// Wine (with MeCab's katakana readings for Japanese, since espeak-ng reads kana but no kanji).
// Each utterance is one run of the program, exchanged through files in a folder of its own.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "synthesiser.h"

namespace ostrel::orvatone {

struct EspeakInstallation {
  bool onHost = false;       // the program runs on Wine's Unix host
  std::wstring program;      // Windows: espeak-ng.exe
  std::string hostProgram;   // host: /usr/bin/espeak-ng
  std::string hostMecab;     // host: /usr/bin/mecab with a dictionary, or empty
  std::string voice;         // espeak-ng's voice for the language
};

// The espeak-ng that can speak the language (1 to 4), if any is installed.
std::optional<EspeakInstallation> FindEspeak(int engineLanguage);

class EspeakSynthesiser final : public Synthesiser {
 public:
  EspeakSynthesiser(EspeakInstallation installation, int engineLanguage);
  ~EspeakSynthesiser() override;
  EspeakSynthesiser(const EspeakSynthesiser&) = delete;
  EspeakSynthesiser& operator=(const EspeakSynthesiser&) = delete;

  bool Render(std::u16string_view text, const Prosody& prosody, const std::function<bool()>& cancelled,
              Rendering& out) noexcept override;

 private:
  bool RunOnHost(unsigned job, const Prosody& prosody, const std::function<bool()>& cancelled);
  bool RunOnWindows(unsigned job, const Prosody& prosody, const std::function<bool()>& cancelled);
  std::wstring JobFile(wchar_t kind, unsigned job) const;
  void RemoveJob(unsigned job);
  void RemoveFinishedAbandonedJobs();

  EspeakInstallation installation_;
  std::wstring folder_;  // ends with a backslash
  std::string hostFolder_;
  unsigned nextJob_ = 0;
  std::vector<unsigned> abandoned_;  // cancelled while their program still ran
};

}  // namespace ostrel::orvatone
