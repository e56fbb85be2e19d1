// The speech engine library as the program sees it: loaded from beside the executable, reached
// by ordinal only, telling a window with message 0x602 / lParam -1 that a text has been spoken.
// The journal it writes is read by tests outside the program, so its lines are pinned exactly.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr UINT kEngineDoneMessage = 0x602;
constexpr auto kPatience = std::chrono::seconds(15);

using StartLanguageFn = int(WINAPI*)(int, int*, int*, int*, int*, int*, int*, int*, int*, int*, int*, int*,
                                     int*, int*, int*, int*);
using SpeakFn = int(WINAPI*)(HWND, int, const char*, int, int, int, int, int, int);
using LanguageFn = int(WINAPI*)(HWND, int);
using SetUserDictionaryFn = int(WINAPI*)(HWND, int, const char*);

using Report = std::array<int, 15>;
constexpr Report kExpectedReport = {500, 0, 100, 50, 250, 100, 50, 200, 100, 0, 65535, 800, 0, 65535, 300};

// A message-only window that counts the engine's end-of-text messages it receives.
class DoneWindow {
 public:
  DoneWindow() {
    static const wchar_t* const kClass = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = &DoneWindow::Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"OrvatoneTestDoneWindow";
      RegisterClassW(&wc);
      return wc.lpszClassName;
    }();
    handle_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), this);
  }
  ~DoneWindow() { DestroyWindow(handle_); }
  DoneWindow(const DoneWindow&) = delete;
  DoneWindow& operator=(const DoneWindow&) = delete;

  HWND Handle() const { return handle_; }
  int Spoken() const { return spoken_; }
  int Others() const { return others_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<DoneWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == kEngineDoneMessage && self != nullptr) {
      if (wParam == 0 && lParam == -1) {
        ++self->spoken_;
      } else {
        ++self->others_;
      }
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND handle_ = nullptr;
  int spoken_ = 0;
  int others_ = 0;
};

// Dispatches this thread's messages until the condition holds or the patience runs out.
bool PumpUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

struct JournalLine {
  unsigned long long tick = 0;
  std::string entry;
};

class OrvatoneTest : public testing::Test {
 protected:
  void SetUp() override {
    static int runs = 0;
    std::array<wchar_t, MAX_PATH> temp{};
    GetTempPathW(static_cast<DWORD>(temp.size()), temp.data());
    // A name outside any ANSI code page, to show the journal path is taken as Unicode.
    journalPath_ = std::wstring(temp.data()) + L"orvatone \u65e5\u672c\u8a9e \u0416 " +
                   std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++runs) + L".log";
    DeleteFileW(journalPath_.c_str());
    ASSERT_TRUE(SetEnvironmentVariableW(L"ORVATONE_JOURNAL", journalPath_.c_str()));
    SetSpeechLength(L"300");

    module_ = LoadLibraryW(L"Orvatone.dll");
    ASSERT_NE(module_, nullptr) << "GetLastError " << GetLastError();
    startLanguage_ = Resolve<StartLanguageFn>(3);
    speak_ = Resolve<SpeakFn>(4);
    stop_ = Resolve<LanguageFn>(5);
    pause_ = Resolve<LanguageFn>(6);
    resume_ = Resolve<LanguageFn>(7);
    setUserDictionary_ = Resolve<SetUserDictionaryFn>(9);
    closeLanguage_ = Resolve<LanguageFn>(10);
    ASSERT_TRUE(startLanguage_ && speak_ && stop_ && pause_ && resume_ && setUserDictionary_ && closeLanguage_);
  }

  void TearDown() override {
    if (module_ != nullptr) {
      if (closeLanguage_ != nullptr) {
        for (int language = 1; language <= 4; ++language) closeLanguage_(nullptr, language);
      }
      FreeLibrary(module_);
    }
    SetEnvironmentVariableW(L"ORVATONE_JOURNAL", nullptr);
    SetEnvironmentVariableW(L"ORVATONE_SPEAK_MS", nullptr);
    DeleteFileW(journalPath_.c_str());
  }

  FARPROC Ordinal(int ordinal) const { return GetProcAddress(module_, MAKEINTRESOURCEA(ordinal)); }
  template <class Fn>
  Fn Resolve(int ordinal) const {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(Ordinal(ordinal)));
  }

  static void SetSpeechLength(const wchar_t* ms) { SetEnvironmentVariableW(L"ORVATONE_SPEAK_MS", ms); }

  int Start(int language, Report& report) {
    return startLanguage_(language, &report[0], &report[1], &report[2], &report[3], &report[4], &report[5],
                          &report[6], &report[7], &report[8], &report[9], &report[10], &report[11],
                          &report[12], &report[13], &report[14]);
  }
  int Start(int language) {
    Report report{};
    return Start(language, report);
  }
  int Say(HWND window, int language, const char* text) {
    return speak_(window, language, text, 100, 100, 100, 800, 300, 0);
  }

  // Runs a speech of the given length on another language to completion: a clock that the
  // engine itself keeps, so no test sleeps for a fixed time.
  void LetTimePass(int language, const wchar_t* ms) {
    DoneWindow clock;
    SetSpeechLength(ms);
    ASSERT_EQ(Say(clock.Handle(), language, "clock"), 0);
    ASSERT_TRUE(PumpUntil([&] { return clock.Spoken() == 1; })) << "the clock speech never ended";
  }

  std::vector<JournalLine> Journal() const {
    std::string bytes;
    const HANDLE file = CreateFileW(journalPath_.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      ADD_FAILURE() << "no journal, GetLastError " << GetLastError();
      return {};
    }
    std::array<char, 4096> chunk;
    DWORD got = 0;
    while (ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) && got > 0) {
      bytes.append(chunk.data(), got);
    }
    CloseHandle(file);

    EXPECT_TRUE(bytes.empty() || bytes.back() == '\n') << "last line unfinished";
    EXPECT_EQ(bytes.find('\r'), std::string::npos);
    static const std::regex kLine(R"(([0-9]+) (.*))");
    std::vector<JournalLine> lines;
    std::size_t begin = 0;
    for (std::size_t end; (end = bytes.find('\n', begin)) != std::string::npos; begin = end + 1) {
      const std::string text = bytes.substr(begin, end - begin);
      std::smatch match;
      if (!std::regex_match(text, match, kLine)) {
        ADD_FAILURE() << "journal line without a tick: [" << text << "]";
        continue;
      }
      lines.push_back({std::stoull(match[1]), match[2]});
    }
    return lines;
  }

  std::vector<std::string> JournalEntries() const {
    std::vector<std::string> entries;
    for (const auto& line : Journal()) entries.push_back(line.entry);
    return entries;
  }

  int CountEntries(const std::string& entry) const {
    int count = 0;
    for (const auto& e : JournalEntries()) count += e == entry ? 1 : 0;
    return count;
  }

  std::wstring journalPath_;
  HMODULE module_ = nullptr;
  StartLanguageFn startLanguage_ = nullptr;
  SpeakFn speak_ = nullptr;
  LanguageFn stop_ = nullptr;
  LanguageFn pause_ = nullptr;
  LanguageFn resume_ = nullptr;
  SetUserDictionaryFn setUserDictionary_ = nullptr;
  LanguageFn closeLanguage_ = nullptr;
};

TEST_F(OrvatoneTest, ExportsNoNamesAndOnlyTheSevenOrdinals) {
  for (const char* name :
       {"StartLanguage", "Speak", "Stop", "Pause", "Resume", "SetUserDictionary", "CloseLanguage"}) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(GetProcAddress(module_, name), nullptr) << name;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND)) << name;
  }
  for (const int ordinal : {1, 2, 11}) EXPECT_EQ(Ordinal(ordinal), nullptr) << ordinal;
}

TEST_F(OrvatoneTest, StartLanguageReportsTheRangesOfEveryLanguage) {
  for (int language = 1; language <= 4; ++language) {
    Report report;
    report.fill(-7);
    EXPECT_EQ(Start(language, report), 0) << language;
    EXPECT_EQ(report, kExpectedReport) << language;
  }
  // Starting again reports again; missing addresses are skipped, the others still filled.
  int volumeMaximum = 0;
  int commapauseDefault = 0;
  EXPECT_EQ(startLanguage_(1, &volumeMaximum, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &commapauseDefault),
            0);
  EXPECT_EQ(volumeMaximum, 500);
  EXPECT_EQ(commapauseDefault, 300);
}

TEST_F(OrvatoneTest, SpeakPostsTheEndOfTheTextToItsWindow) {
  ASSERT_EQ(Start(1), 0);
  DoneWindow window;
  std::string text = "\x82\xa0\x82\xa2";
  ASSERT_EQ(Say(window.Handle(), 1, text.c_str()), 0);
  text.assign(text.size(), '\0');  // the engine keeps its own copy
  ASSERT_TRUE(PumpUntil([&] { return window.Spoken() == 1; }));
  EXPECT_EQ(window.Others(), 0);
  EXPECT_EQ(CountEntries("Done 1"), 1);
}

// Without a fixed length the languages speak through the host's espeak-ng (this test session
// has no SAPI voice and a sound server with a null sink).
TEST_F(OrvatoneTest, WithoutAFixedLengthEveryLanguageSpeaksThroughARealVoice) {
  SetSpeechLength(nullptr);
  for (int language = 1; language <= 4; ++language) ASSERT_EQ(Start(language), 0) << language;
  EXPECT_EQ(CountEntries("Voice 1 espeak-ng ja+mecab"), 1);
  EXPECT_EQ(CountEntries("Voice 2 espeak-ng cmn-latn-pinyin"), 1);
  EXPECT_EQ(CountEntries("Voice 3 espeak-ng en-us"), 1);
  EXPECT_EQ(CountEntries("Voice 4 espeak-ng ko"), 1);

  DoneWindow window;
  // 今日は晴れ。 in code page 932: MeCab's katakana reach the voice.
  ASSERT_EQ(Say(window.Handle(), 1, "\x8d\xa1\x93\xfa\x82\xcd\x90\xb0\x82\xea\x81\x42"), 0);
  ASSERT_TRUE(PumpUntil([&] { return window.Spoken() == 1; }));
  EXPECT_EQ(CountEntries("Utter 1 E382ADE383A7E382A6E3838FE3838FE383ACE38082"), 1);  // キョウハハレ。

  ASSERT_EQ(speak_(window.Handle(), 3, "One, two. Three!", 100, 250, 100, 0, 0, 0), 0);
  ASSERT_TRUE(PumpUntil([&] { return window.Spoken() == 2; }));
  EXPECT_EQ(CountEntries("Utter 3 4F6E652C"), 1);
  EXPECT_EQ(CountEntries("Utter 3 74776F2E"), 1);
  EXPECT_EQ(CountEntries("Utter 3 546872656521"), 1);
  EXPECT_EQ(CountEntries("Done 3"), 1);

  // A long text stopped after its first utterance never ends, and a speed of zero divides nothing.
  ASSERT_EQ(speak_(window.Handle(), 3, "Stopped. Never heard to its end. Nor this.", 100, 0, 100, 0, 0, 0), 0);
  ASSERT_TRUE(PumpUntil([&] { return CountEntries("Utter 3 53746F707065642E") == 1; }));
  ASSERT_EQ(stop_(window.Handle(), 3), 0);
  const auto quietUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
  PumpUntil([&] { return std::chrono::steady_clock::now() >= quietUntil; });
  EXPECT_EQ(window.Spoken(), 2);
  EXPECT_EQ(CountEntries("Done 3"), 1);
}

TEST_F(OrvatoneTest, StopBeforeTheEndMeansNoEndOfText) {
  ASSERT_EQ(Start(1), 0);
  ASSERT_EQ(Start(2), 0);
  DoneWindow window;
  SetSpeechLength(L"800");
  ASSERT_EQ(Say(window.Handle(), 1, "stopped"), 0);
  ASSERT_EQ(stop_(window.Handle(), 1), 0);
  LetTimePass(2, L"2000");
  EXPECT_EQ(window.Spoken(), 0);
  EXPECT_EQ(CountEntries("Done 1"), 0);
  // Stop with nothing speaking is an ordinary call.
  EXPECT_EQ(stop_(window.Handle(), 1), 0);
}

TEST_F(OrvatoneTest, PauseHoldsTheEndAndResumeLetsTheTextFinish) {
  ASSERT_EQ(Start(1), 0);
  ASSERT_EQ(Start(2), 0);
  DoneWindow window;
  SetSpeechLength(L"1200");
  ASSERT_EQ(Say(window.Handle(), 1, "paused"), 0);
  ASSERT_EQ(pause_(window.Handle(), 1), 0);
  ASSERT_EQ(pause_(window.Handle(), 1), 0);  // a second pause changes nothing
  LetTimePass(2, L"2000");
  EXPECT_EQ(window.Spoken(), 0);

  // The paused time does not count: most of the text is still to be spoken after the resume.
  ASSERT_EQ(resume_(window.Handle(), 1), 0);
  LetTimePass(2, L"300");
  EXPECT_EQ(window.Spoken(), 0);
  ASSERT_TRUE(PumpUntil([&] { return window.Spoken() == 1; }));
  const std::vector<std::string> entries = JournalEntries();
  const auto at = [&](const std::string& entry) { return std::find(entries.begin(), entries.end(), entry); };
  EXPECT_LT(at("Pause 1"), at("Resume 1"));
  EXPECT_LT(at("Resume 1"), at("Done 1"));
  EXPECT_NE(at("Done 1"), entries.end());
}

TEST_F(OrvatoneTest, ANewSpeakReplacesTheRunningSpeech) {
  ASSERT_EQ(Start(1), 0);
  ASSERT_EQ(Start(2), 0);
  DoneWindow replaced;
  DoneWindow replacing;
  SetSpeechLength(L"1000");
  ASSERT_EQ(Say(replaced.Handle(), 1, "first"), 0);
  SetSpeechLength(L"200");
  ASSERT_EQ(Say(replacing.Handle(), 1, "second"), 0);
  ASSERT_TRUE(PumpUntil([&] { return replacing.Spoken() == 1; }));
  LetTimePass(2, L"1500");
  EXPECT_EQ(replaced.Spoken(), 0);
  EXPECT_EQ(replacing.Spoken(), 1);

  // A paused speech is replaced as well, and the new one runs.
  SetSpeechLength(L"1000");
  ASSERT_EQ(Say(replaced.Handle(), 1, "third"), 0);
  ASSERT_EQ(pause_(nullptr, 1), 0);
  SetSpeechLength(L"200");
  ASSERT_EQ(Say(replacing.Handle(), 1, "fourth"), 0);
  ASSERT_TRUE(PumpUntil([&] { return replacing.Spoken() == 2; }));
  LetTimePass(2, L"1500");
  EXPECT_EQ(replaced.Spoken(), 0);
  EXPECT_EQ(CountEntries("Done 1"), 2);
}

TEST_F(OrvatoneTest, CallsForLanguagesNotRunningDoNoHarm) {
  DoneWindow window;
  Report report;
  report.fill(-7);
  for (const int language : {0, 5, -1}) {
    EXPECT_NE(Start(language, report), 0) << language;
    EXPECT_NE(setUserDictionary_(window.Handle(), language, "x.csv"), 0) << language;
  }
  Report untouched;
  untouched.fill(-7);
  EXPECT_EQ(report, untouched);
  for (const int language : {0, 5, -1, 3}) {
    EXPECT_NE(Say(window.Handle(), language, "nobody"), 0) << language;
    EXPECT_NE(pause_(window.Handle(), language), 0) << language;
    EXPECT_NE(resume_(window.Handle(), language), 0) << language;
    EXPECT_NE(stop_(window.Handle(), language), 0) << language;
    EXPECT_NE(closeLanguage_(window.Handle(), language), 0) << language;
  }
  // The dictionary is named before the language starts.
  EXPECT_EQ(setUserDictionary_(window.Handle(), 3, "x.csv"), 0);

  // Closing while a long text is spoken ends it at once, without an end of text.
  ASSERT_EQ(Start(1), 0);
  ASSERT_EQ(Start(2), 0);
  SetSpeechLength(L"60000");
  ASSERT_EQ(Say(window.Handle(), 1, "long"), 0);
  ASSERT_EQ(closeLanguage_(window.Handle(), 1), 0);
  EXPECT_NE(closeLanguage_(window.Handle(), 1), 0);
  SetSpeechLength(L"200");
  EXPECT_NE(Say(window.Handle(), 1, "closed"), 0);
  LetTimePass(2, L"1000");
  EXPECT_EQ(window.Spoken(), 0);
  EXPECT_EQ(CountEntries("Done 1"), 0);
  EXPECT_EQ(CountEntries("Speak 5 100 100 100 800 300 0 6E6F626F6479"), 1);
  EXPECT_EQ(CountEntries("Stop 0"), 1);

  // A closed language starts again.
  ASSERT_EQ(Start(1), 0);
  ASSERT_EQ(Say(window.Handle(), 1, "again"), 0);
  ASSERT_TRUE(PumpUntil([&] { return window.Spoken() == 1; }));
}

TEST_F(OrvatoneTest, JournalLinesHaveTheirExactForm) {
  DoneWindow window;
  SetSpeechLength(L"0");
  ASSERT_EQ(setUserDictionary_(window.Handle(), 1, "C:\\dic\\\x93\xfa.csv"), 0);
  ASSERT_EQ(setUserDictionary_(window.Handle(), 2, ""), 0);
  ASSERT_EQ(setUserDictionary_(window.Handle(), 2, nullptr), 0);
  ASSERT_EQ(Start(1), 0);
  ASSERT_EQ(speak_(window.Handle(), 1, "\x82\xa0" "A b", 120, 90, 80, 700, 250, -3), 0);
  ASSERT_TRUE(PumpUntil([&] { return window.Spoken() == 1; }));
  SetSpeechLength(L"60000");
  ASSERT_EQ(Say(window.Handle(), 1, "\x7f\xff"), 0);
  ASSERT_EQ(pause_(window.Handle(), 1), 0);
  ASSERT_EQ(resume_(window.Handle(), 1), 0);
  ASSERT_EQ(stop_(window.Handle(), 1), 0);
  SetSpeechLength(L"0");
  ASSERT_EQ(Say(window.Handle(), 1, ""), 0);
  ASSERT_TRUE(PumpUntil([&] { return window.Spoken() == 2; }));
  ASSERT_EQ(Say(window.Handle(), 1, nullptr), 0);
  ASSERT_TRUE(PumpUntil([&] { return window.Spoken() == 3; }));
  ASSERT_EQ(closeLanguage_(window.Handle(), 1), 0);

  const std::vector<std::string> expected = {
      "SetUserDictionary 1 433A5C6469635C93FA2E637376",
      "SetUserDictionary 2 ",
      "SetUserDictionary 2 ",
      "StartLanguage 1 500 0 100 50 250 100 50 200 100 0 65535 800 0 65535 300",
      "Speak 1 120 90 80 700 250 -3 82A0412062",
      "Done 1",
      "Speak 1 100 100 100 800 300 0 7FFF",
      "Pause 1",
      "Resume 1",
      "Stop 1",
      "Speak 1 100 100 100 800 300 0 ",
      "Done 1",
      "Speak 1 100 100 100 800 300 0 ",
      "Done 1",
      "CloseLanguage 1",
  };
  const std::vector<JournalLine> lines = Journal();
  std::vector<std::string> entries;
  for (const auto& line : lines) entries.push_back(line.entry);
  EXPECT_EQ(entries, expected);
  for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_LE(lines[i - 1].tick, lines[i].tick) << i;
}

TEST_F(OrvatoneTest, ManyThreadsCallingAtOnceNeitherBlockNorCutJournalLines) {
  for (int language = 1; language <= 4; ++language) ASSERT_EQ(Start(language), 0);
  DoneWindow window;
  SetSpeechLength(L"0");
  constexpr int kRounds = 50;
  std::atomic<int> failures{0};
  std::vector<std::thread> callers;
  for (int language = 1; language <= 4; ++language) {
    callers.emplace_back([&, language] {
      for (int round = 0; round < kRounds; ++round) {
        failures += Say(window.Handle(), language, "concurrent") != 0;
        failures += pause_(window.Handle(), language) != 0;
        failures += resume_(window.Handle(), language) != 0;
        if (round % 2 == 0) failures += stop_(window.Handle(), language) != 0;
      }
    });
  }
  for (auto& caller : callers) caller.join();
  for (int language = 1; language <= 4; ++language) ASSERT_EQ(closeLanguage_(window.Handle(), language), 0);
  EXPECT_EQ(failures, 0);

  // Every message posted before the close is already in the queue.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);

  static const std::regex kEntry(
      R"((StartLanguage [1-4]( [0-9]+){15})|(Speak [1-4] 100 100 100 800 300 0 636F6E63757272656E74)|)"
      R"(((Pause|Resume|Stop|Done|CloseLanguage) [1-4]))");
  int speaks = 0;
  int dones = 0;
  for (const auto& entry : JournalEntries()) {
    EXPECT_TRUE(std::regex_match(entry, kEntry)) << "[" << entry << "]";
    speaks += entry.rfind("Speak ", 0) == 0;
    dones += entry.rfind("Done ", 0) == 0;
  }
  EXPECT_EQ(speaks, 4 * kRounds);
  EXPECT_EQ(dones, window.Spoken());
}

}  // namespace
