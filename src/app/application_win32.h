#pragma once
#include <windows.h>

#include <memory>

#include "engine/speech_engine.h"
#include "reading/capture_flags.h"
#include "reading/capture_platform_win32.h"
#include "reading/clipboard_reader_win32.h"
#include "reading/clipboard_to_speech.h"
#include "reading/reading_control.h"
#include "reading/reading_host.h"
#include "reading/text_capture.h"
#include "reading/text_encoder_win32.h"
#include "settings/app_settings.h"
#include "settings/registry_store.h"
#include "settings/registry_win32.h"
#include "toolbar/toolbar_host_win32.h"
#include "toolbar/toolbar_window_win32.h"

namespace ostrel {

// The program's parts around its one window: the settings and their registry store, the
// engine's languages, the hot keys, the clipboard chain, the reading and the update check.
// The toolbar window presents and hands on what it receives; this connects it to the rest.
class Application final : private ToolbarHost, private ReadingHost {
 public:
  explicit Application(SpeechEngine& engine);
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Runs the toolbar as the program's modal dialog until it closes.
  void Run();
  // Opens the toolbar without a loop of its own; the caller dispatches the messages.
  bool Open();

  CDlgToolbarLayerDlg& toolbar() { return toolbar_; }
  const AppSettings& settings() const { return settings_; }
  ReadingControl& reading() { return reading_; }
  const CaptureFlags& captureFlags() const { return flags_; }
  HWND nextClipboardViewer() const { return nextClipboardViewer_; }

 private:
  // ToolbarHost
  void ToolbarOpening() override;
  void ToolbarClosing() override;
  void ToolbarDestroying() override;
  void NoteForegroundWindow() override;
  void ExecuteCommand(Command command) override;
  void OnHotKey(int id) override;
  void OnTimer(UINT_PTR id) override;
  void OnEngineDone(LPARAM lParam) override;
  void OnDrawClipboard(WPARAM wParam, LPARAM lParam) override;
  void OnChangeClipboardChain(WPARAM wParam, LPARAM lParam) override;

  // ReadingHost
  WindowId Window() const override { return reinterpret_cast<WindowId>(toolbar_.hwnd()); }
  void StartTextCapture(ReadKind kind) override;
  void EndTextCapture() override;
  void PostClose() override;
  void ShowReading(const ReadingShown& reading) override;
  void RedrawToolbar() override;
  void RedrawIfChanged() override;
  void SleepFor(int milliseconds) override;
  void OpenSettingsDialog() override;
  void MinimiseToTray() override;

  void StartEngine();
  void JoinClipboardChain();
  void PassOnToNextViewer(UINT message, WPARAM wParam, LPARAM lParam);
  void CheckForUpdate();

  SpeechEngine& engine_;
  Win32Registry registry_;
  RegistryStore store_{registry_};
  AppSettings settings_;
  CaptureFlags flags_;
  ReadingControl reading_{settings_, engine_, *this};
  // The platform side of reading needs the window, so it is made when the window exists.
  struct ReadingParts {
    ReadingParts(HWND toolbar, CaptureFlags& flags, ReadingControl& reading, const AppSettings& settings);
    Win32CapturePlatform platform;
    Win32ClipboardReader reader;
    Win32TextEncoder encoder;
    TextCapture capture;
    ClipboardToSpeech tick;
  };
  std::unique_ptr<ReadingParts> readingParts_;
  HWND nextClipboardViewer_ = nullptr;
  bool engineStarted_ = false;
  bool chainJoined_ = false;
  // Last, so that the window goes first: what it says while it goes still finds the parts.
  CDlgToolbarLayerDlg toolbar_{*this, settings_};
};

}  // namespace ostrel
