#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "engine/speech_engine.h"
#include "reading/capture_flags.h"
#include "reading/capture_platform_win32.h"
#include "reading/clipboard_reader_win32.h"
#include "reading/clipboard_to_speech.h"
#include "reading/reading_control.h"
#include "reading/reading_host.h"
#include "reading/text_capture.h"
#include "reading/text_encoder_win32.h"
#include "platform/unique_handle_win32.h"
#include "settings/app_settings.h"
#include "settings/registry_store.h"
#include "settings/registry_win32.h"
#include "toolbar/button_states.h"
#include "toolbar/dib_image_win32.h"
#include "toolbar/tray_icon_win32.h"
#include "ui/dialog_impl_win32.h"
#include "ui/tool_tip_win32.h"

namespace ostrel {

// The toolbar's handle, process-wide: the settings dialog registers hot keys on it.
HWND ToolbarWindowHandle();

constexpr UINT TrayMessage = 0x401;
constexpr UINT kTrayIconId = 1;

// The toolbar: a layered, topmost, skinned window run as the program's modal dialog.
class CDlgToolbarLayerDlg : public ui::DialogImpl<CDlgToolbarLayerDlg>, private ReadingHost {
 public:
  explicit CDlgToolbarLayerDlg(SpeechEngine& engine);
  ~CDlgToolbarLayerDlg() override;

  const AppSettings& settings() const { return settings_; }
  const ButtonStates& buttons() const { return buttons_; }
  int currentAlpha() const { return currentAlpha_; }
  ReadingControl& reading() { return reading_; }
  const CaptureFlags& captureFlags() const { return flags_; }
  HWND nextClipboardViewer() const { return nextClipboardViewer_; }

 protected:
  BOOL OnInitDialog() override;
  bool PreTranslateMessage(MSG& message) override;
  void OnOK() override;
  void OnCancel() override;

 private:
  void OnClose(WPARAM, LPARAM);
  void OnDestroy(WPARAM, LPARAM);
  void OnMove(WPARAM, LPARAM);
  void OnHotKey(WPARAM, LPARAM);
  void OnTimer(WPARAM, LPARAM);
  void OnEngineDone(WPARAM, LPARAM);
  void OnDrawClipboard(WPARAM, LPARAM);
  void OnChangeClipboardChain(WPARAM, LPARAM);
  LRESULT OnMouseActivate(WPARAM, LPARAM);
  void PassOnToNextViewer(UINT message, WPARAM, LPARAM);

  // ReadingHost
  WindowId Window() const override { return reinterpret_cast<WindowId>(hwnd()); }
  void StartTextCapture(int kind) override;
  void PostClose() override;
  void RedrawToolbar() override;
  void RedrawIfChanged() override;
  void SleepFor(int milliseconds) override;
  void OpenSettingsDialog() override;
  void MinimiseToTray() override;

  void LoadSkin();
  void ShowSkinUnreadable(const std::u16string& path);
  void StartEngine();
  void MoveToStoredPosition();
  void CheckForUpdate();
  // Stops a reading, saves, fades out. Shared by WM_CLOSE, OK and Cancel.
  void CloseSequence();

  // Shows the canvas with the constant alpha; on failure reports it and destroys the
  // toolbar (the program then ends without saving). False when that happened.
  bool PresentCanvas(int alpha);

  SpeechEngine& engine_;
  Win32Registry registry_;
  RegistryStore store_{registry_};

  std::optional<DibImage> skin_;
  std::optional<DibImage> hitMap_;
  std::optional<DibImage> canvas_;
  POINT dragOrigin_{-1, -1};
  RECT dragStartRect_{};
  int pressedButton_ = -1;
  ButtonStates buttons_;
  int currentAlpha_ = 0;
  ui::ToolTip tooltip_;
  AppSettings settings_;
  CaptureFlags flags_;
  ReadingControl reading_{settings_, buttons_, engine_, *this};
  // The platform side of reading needs the window, so it is made when the window exists.
  struct ReadingParts {
    explicit ReadingParts(CDlgToolbarLayerDlg& toolbar);
    Win32CapturePlatform platform;
    Win32ClipboardReader reader;
    Win32TextEncoder encoder;
    TextCapture capture;
    ClipboardToSpeech tick;
  };
  std::unique_ptr<ReadingParts> readingParts_;
  HICON icon_ = nullptr;
  HWND nextClipboardViewer_ = nullptr;
  TrayIcon trayIcon_;
  UniqueHicon trayImage_;

 public:
  static constexpr ui::Handlers<CDlgToolbarLayerDlg> kHandlers{
      ui::OnMessage(WM_CLOSE, &CDlgToolbarLayerDlg::OnClose),
      ui::OnMessage(WM_DESTROY, &CDlgToolbarLayerDlg::OnDestroy),
      ui::OnMessage(WM_MOVE, &CDlgToolbarLayerDlg::OnMove),
      ui::OnMessage(WM_HOTKEY, &CDlgToolbarLayerDlg::OnHotKey),
      ui::OnMessage(WM_TIMER, &CDlgToolbarLayerDlg::OnTimer),
      ui::OnMessage(EngineDoneMessage, &CDlgToolbarLayerDlg::OnEngineDone),
      ui::OnMessage(WM_DRAWCLIPBOARD, &CDlgToolbarLayerDlg::OnDrawClipboard),
      ui::OnMessage(WM_CHANGECBCHAIN, &CDlgToolbarLayerDlg::OnChangeClipboardChain),
      ui::OnMessage(WM_MOUSEACTIVATE, &CDlgToolbarLayerDlg::OnMouseActivate),
  };
};

}  // namespace ostrel
