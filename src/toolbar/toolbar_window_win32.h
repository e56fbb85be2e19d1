#pragma once
#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "../../resources/resource_ids.h"
#include "engine/speech_engine.h"
#include "platform/unique_handle_win32.h"
#include "reading/reading_shown.h"
#include "settings/app_settings.h"
#include "toolbar/button_states.h"
#include "toolbar/dib_image_win32.h"
#include "toolbar/toolbar_host_win32.h"
#include "toolbar/toolbar_mouse.h"
#include "toolbar/tray_icon_win32.h"
#include "ui/dialog_impl_win32.h"
#include "ui/tool_tip_win32.h"

namespace ostrel {

constexpr UINT TrayMessage = 0x401;
constexpr UINT kTrayIconId = 1;
// WM_COMMAND accepted from outside: dims the whole toolbar, or undims it.
constexpr WPARAM kDimCommand = 133;
// At sign-in the notification area may not take the icon yet: it is tried again every
// period, for about a minute, before the user is told. Id 1 is the clipboard's timer.
constexpr UINT_PTR kTrayRetryTimerId = 2;
constexpr UINT kTrayRetryPeriodMs = 2000;
constexpr int kTrayRetries = 30;

// The toolbar: a layered, topmost, skinned window run as the program's modal dialog. It
// presents the skin and the buttons, takes the mouse, the tray icon and the tooltip, and
// hands the rest to its host.
class CDlgToolbarLayerDlg : public ui::DialogImpl<CDlgToolbarLayerDlg>, private ToolbarMouseHost {
 public:
  // The window writes its position into `settings` as it moves.
  CDlgToolbarLayerDlg(ToolbarHost& host, AppSettings& settings);

  const AppSettings& settings() const { return settings_; }
  const ButtonStates& buttons() const { return buttons_; }
  int currentAlpha() const { return currentAlpha_; }
  const ToolbarMouse& mouse() const { return mouse_; }

  // The window's steps of the start-up, which the host runs in this order with its own.
  // Title, icons, skin, size and a first picture.
  void ShowSkin();
  void AddTooltipAndTrayIcon();
  void MoveToStoredPosition();

  void ShowReading(const ReadingShown& reading);
  void RedrawToolbar();
  void RedrawIfChanged() override;
  void MinimiseToTray();
  // The settings dialog has closed; after OK its transparency becomes the toolbar's.
  void SettingsDialogClosed(std::optional<int> alpha);

  // A failure the program keeps going after, said once per run; nothing once a close
  // has come in during the start-up.
  enum class Failure { Settings, ClipboardViewer, TrayIcon, Tooltip, UserDictionary, Count };
  void ReportOnce(Failure failure, const char16_t* text);

  // A close (WM_CLOSE, OK, Cancel) arrived while the start-up ran, inside one of its boxes:
  // the host cuts its start-up short, and the toolbar goes without saving once it returns.
  bool closeRequested() const { return closeRequested_; }

 protected:
  BOOL OnInitDialog() override;
  bool PreTranslateMessage(MSG& message) override;
  bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
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
  void OnMouseMove(WPARAM, LPARAM);
  void OnLeftButtonDown(WPARAM, LPARAM);
  void OnLeftButtonUp(WPARAM, LPARAM);
  void OnCaptureChanged(WPARAM, LPARAM);
  void OnRightButtonUp(WPARAM, LPARAM);
  void OnMouseWheel(WPARAM, LPARAM);
  void OnManual();
  void OnSupportPage();
  void OnLogFolder();

  // ToolbarMouseHost
  ScreenPoint ClientToScreenPoint(int x, int y) override;
  bool ToolbarIsUnder(ScreenPoint point) override;
  bool HasCapture() override;
  void TakeCapture() override;
  void ReleaseMouseCapture() override;
  ScreenRect WindowRect() override;
  void MoveWindowTo(ScreenPoint topLeft) override;
  void BringToForeground() override;
  void ExecuteCommand(Command command) override;
  void SetTipText(const char16_t* text) override;

  // The icon was clicked while the toolbar is in the tray: slide back in.
  void RestoreFromTray();
  // Minimise clicked while still marked as in the tray (a wheel turn made it visible).
  void FadeInFromTray();
  // The toolbar menu at the cursor; the right button stops a reading first, the tray icon does not.
  void TrackToolbarMenu(POINT cursor, bool stopReadingFirst);
  void OpenBesideProgram(const char16_t* file, const char16_t* failure);

  // True for what must wait until the start-up has finished: it is dropped then. Start-up
  // runs inside WM_INITDIALOG, and each box it shows runs a loop that delivers whatever
  // arrives, before the reading parts exist. A close is remembered instead.
  bool HeldBackWhileOpening(UINT message, WPARAM wParam);
  void StartTrayRetry();
  void OnTrayRetryTimer();

  void LoadSkin();
  void ShowSkinUnreadable(const std::u16string& path);
  // Stops a reading, saves, fades out. Shared by WM_CLOSE, OK and Cancel.
  void CloseSequence();

  // Shows the canvas with the constant alpha; on failure reports it and destroys the
  // toolbar (the program then ends without saving). False when that happened.
  bool PresentCanvas(int alpha);

  ToolbarHost& host_;
  AppSettings& settings_;
  std::optional<DibImage> skin_;
  std::optional<DibImage> hitMap_;
  std::optional<DibImage> canvas_;
  ButtonStates buttons_;
  ToolbarMouse mouse_{buttons_, {}, *this};
  int currentAlpha_ = 0;
  ui::ToolTip tooltip_;
  HICON icon_ = nullptr;
  TrayIcon trayIcon_;
  UniqueHicon trayImage_;
  UINT taskbarCreatedMessage_ = 0;
  int trayRetriesLeft_ = 0;
  bool opening_ = false;
  bool closeRequested_ = false;
  std::array<bool, static_cast<size_t>(Failure::Count)> reported_{};

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
      ui::OnMessage(WM_MOUSEMOVE, &CDlgToolbarLayerDlg::OnMouseMove),
      ui::OnMessage(WM_LBUTTONDOWN, &CDlgToolbarLayerDlg::OnLeftButtonDown),
      ui::OnMessage(WM_LBUTTONUP, &CDlgToolbarLayerDlg::OnLeftButtonUp),
      ui::OnMessage(WM_CAPTURECHANGED, &CDlgToolbarLayerDlg::OnCaptureChanged),
      ui::OnMessage(WM_RBUTTONUP, &CDlgToolbarLayerDlg::OnRightButtonUp),
      ui::OnMessage(WM_MOUSEWHEEL, &CDlgToolbarLayerDlg::OnMouseWheel),
      ui::OnCommand(ID_MENU_MANUAL, 0, &CDlgToolbarLayerDlg::OnManual),
      ui::OnCommand(ID_MENU_SUPPORT, 0, &CDlgToolbarLayerDlg::OnSupportPage),
      ui::OnCommand(ID_MENU_LOG_FOLDER, 0, &CDlgToolbarLayerDlg::OnLogFolder),
  };
};

}  // namespace ostrel
