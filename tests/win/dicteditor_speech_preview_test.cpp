// The editor's テスト読み上げ: the engine beside the program, found by its full path, speaks the
// reading and tells the window that asked; a folder without the engine just stays silent.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>

#include "dicteditor/speech_preview_win32.h"

namespace ostrel::dicteditor {
namespace {

std::u16string ThisFolder() {
  std::array<wchar_t, MAX_PATH> path{};
  GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  std::wstring folder(path.data());
  folder.resize(folder.find_last_of(L'\\') + 1);
  return std::u16string(folder.begin(), folder.end());
}

// Whether the engine's end of text reached the window within a generous time.
bool SpokenTo(HWND window) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (std::chrono::steady_clock::now() < deadline) {
    MSG message;
    while (PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
      if (message.message == 0x602 && message.lParam == -1) return true;
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return false;
}

TEST(SpeechPreviewTest, SpeaksTheReadingThroughTheEngineBesideTheProgram) {
  SetEnvironmentVariableW(L"ORVATONE_SPEAK_MS", L"50");
  const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  {
    SpeechPreview preview(ThisFolder(), kJapanese);
    ASSERT_TRUE(preview.Loaded());
    preview.Speak(window, u"おすとれる");
    EXPECT_TRUE(SpokenTo(window));
  }
  DestroyWindow(window);
  SetEnvironmentVariableW(L"ORVATONE_SPEAK_MS", nullptr);
}

TEST(SpeechPreviewTest, AFolderWithoutTheEngineStaysSilent) {
  SpeechPreview preview(ThisFolder() + u"no such folder\\", kJapanese);
  EXPECT_FALSE(preview.Loaded());
  preview.Speak(nullptr, u"おすとれる");  // nothing to call, nothing to crash
}

}  // namespace
}  // namespace ostrel::dicteditor
