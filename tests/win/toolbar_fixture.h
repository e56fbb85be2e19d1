#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_engine.h"
#include "platform/seams_win32.h"
#include "app/application_win32.h"
#include "toolbar/toolbar_window_win32.h"
#include "window_test_support.h"

namespace ostrel::testing {

// The real application and its toolbar window on the test display with a fake engine; its
// message boxes and sleeps are recorded instead of shown, and the settings are cleared
// around each test.
class ToolbarFixture : public ::testing::Test {
 protected:
  void SetUp() override { ClearSettings(); }
  void TearDown() override {
    if (toolbar && IsWindow(toolbar->hwnd())) DestroyWindow(toolbar->hwnd());
    toolbar = nullptr;
    app.reset();
    ClearSettings();
  }

  HWND Open() {
    app = std::make_unique<Application>(engine);
    toolbar = &app->toolbar();
    EXPECT_TRUE(app->Open());
    PumpMessages();
    return toolbar->hwnd();
  }

  static void ClearSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brantic");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Brantic");
  }

  FakeEngine engine;
  std::vector<std::wstring> boxes;
  std::vector<std::wstring> captions;
  std::vector<UINT> styles;
  std::vector<DWORD> sleeps;
  ScopedMessageBoxHook boxHook{[this](HWND, const wchar_t* text, const wchar_t* caption, UINT style) {
    boxes.emplace_back(text);
    captions.emplace_back(caption);
    styles.push_back(style);
    return IDOK;
  }};
  ScopedSleepHook sleepHook{[this](DWORD ms) { sleeps.push_back(ms); }};
  std::unique_ptr<Application> app;
  CDlgToolbarLayerDlg* toolbar = nullptr;
};

}  // namespace ostrel::testing
