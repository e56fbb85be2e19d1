#include "toolbar/toolbar_window_win32.h"

#include <shellapi.h>
#include <windowsx.h>
#include <shlwapi.h>

#include <cstdio>
#include <cwchar>
#include <vector>

#include "platform/command_line_win32.h"
#include "platform/log_win32.h"
#include "platform/module_path_win32.h"
#include "platform/program_directory.h"
#include "platform/program_directory_win32.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "toolbar/reading_buttons.h"
#include "toolbar/redraw_toolbar.h"
#include "toolbar/skin_file_check.h"
#include "toolbar/skin_source.h"
#include "toolbar/toolbar_animation.h"
#include "toolbar/toolbar_button.h"
#include "toolbar/toolbar_texts.h"

namespace ostrel {
namespace {

PixelView ViewOf(const std::optional<DibImage>& image) {
  if (!image) return {};
  return PixelView(image->pixels(), image->width(), image->height());
}

std::optional<std::u16string> FirstArgument() {
  const std::vector<std::u16string> arguments = CommandLineArguments();
  if (arguments.empty()) return std::nullopt;
  return arguments.front();
}

ScreenRect ToScreenRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// Without a notification area (no shell tray) the animations fade in place.
std::optional<ScreenPoint> TrayPointFor(const ScreenRect& window) {
  const HWND shell = FindWindowW(L"Shell_TrayWnd", nullptr);
  const HWND tray = shell ? FindWindowExW(shell, nullptr, L"TrayNotifyWnd", nullptr) : nullptr;
  RECT rect{};
  if (!tray || !GetWindowRect(tray, &rect)) return std::nullopt;
  return TrayPoint(ToScreenRect(rect), window);
}

}  // namespace

CDlgToolbarLayerDlg::CDlgToolbarLayerDlg(ToolbarHost& host, AppSettings& settings)
    : DialogImpl(IDD_TOOLBAR),
      host_(host),
      settings_(settings),
      icon_(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM))) {}

BOOL CDlgToolbarLayerDlg::OnInitDialog() {
  opening_ = true;
  closeRequested_ = false;
  host_.ToolbarOpening();
  opening_ = false;
  // Closed before it was ever shown (an installer's upgrade, a sign-out): it goes unseen and
  // saves nothing, since the settings may be only half set up. Its destruction still gives
  // back what the start-up took.
  if (closeRequested_) DestroyWindow(hwnd());
  return TRUE;
}

void CDlgToolbarLayerDlg::ShowSkin() {
  const HWND window = hwnd();
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  SetWindowTextW(window, Wide(texts::kProductName));
  // A quick second click must arrive as a second button-down, not as a double-click.
  SetClassLongPtrW(window, GCL_STYLE, GetClassLongPtrW(window, GCL_STYLE) & ~static_cast<LONG_PTR>(CS_DBLCLKS));
  currentAlpha_ = settings_.Alpha;

  LoadSkin();
  SetWindowPos(window, nullptr, 0, 0, canvas_->width(), canvas_->height(),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  mouse_.SetHitMap(ViewOf(hitMap_));
  buttons_.Initialize();
  RedrawToolbar();
}

void CDlgToolbarLayerDlg::AddTooltipAndTrayIcon() {
  const HWND window = hwnd();
  if (tooltip_.Create(window, TTS_ALWAYSTIP | TTS_NOPREFIX)) {
    tooltip_.SetMaxTipWidth(384);
    tooltip_.AddTool(window, L"");
  } else {
    ReportOnce(Failure::Tooltip, texts::kTooltipFailed);
  }

  trayImage_.reset(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
  // Explorer announces a new taskbar with this message; a toolbar started with more rights than
  // Explorer must let it through.
  taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
  ChangeWindowMessageFilterEx(window, taskbarCreatedMessage_, MSGFLT_ALLOW, nullptr);
  // At sign-in Explorer may not take it yet.
  if (!trayIcon_.Add(window, kTrayIconId, TrayMessage, trayImage_.get(), Wide(texts::kTrayTip))) StartTrayRetry();
}

void CDlgToolbarLayerDlg::StartTrayRetry() {
  trayRetriesLeft_ = kTrayRetries;
  if (!SetTimer(hwnd(), kTrayRetryTimerId, kTrayRetryPeriodMs, nullptr)) {
    ReportOnce(Failure::TrayIcon, texts::kTrayIconFailed);
  }
}

void CDlgToolbarLayerDlg::OnTrayRetryTimer() {
  // Added meanwhile too by a new taskbar or by the minimise button.
  if (trayIcon_.added() || trayIcon_.AddAgain()) {
    KillTimer(hwnd(), kTrayRetryTimerId);
    return;
  }
  if (--trayRetriesLeft_ > 0) return;
  KillTimer(hwnd(), kTrayRetryTimerId);
  ReportOnce(Failure::TrayIcon, texts::kTrayIconFailed);
}

void CDlgToolbarLayerDlg::ReportOnce(Failure failure, const char16_t* text) {
  log::Warning("told the user: " + log::Utf8(WideView(text)));
  bool& reported = reported_[static_cast<size_t>(failure)];
  if (reported || closeRequested_) return;
  reported = true;
  ShowApplicationMessage(hwnd(), Wide(text), MB_OK | MB_ICONWARNING);
}

void CDlgToolbarLayerDlg::LoadSkin() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  skin_ = LoadImageResource(instance, IDR_IMAGE_SKIN);
  hitMap_ = LoadImageResource(instance, IDR_IMAGE_HITMAP);
  canvas_ = LoadImageResource(instance, IDR_IMAGE_HITMAP);
  if (!canvas_) canvas_ = DibImage::Create(327, 60);  // never without something to show

  const auto file = FindSkinFile(FirstArgument(), ModulePath(), [](const std::u16string& path) {
    return PathFileExistsW(Wide(path)) != FALSE;
  });
  if (file) {
    auto loaded = file->kind == SkinFileKind::Bitmap ? LoadBitmapFile(file->path) : LoadPngFile(file->path);
    // A file that cannot be used, or cannot draw the toolbar, leaves the built-in skin in place.
    if (loaded && SkinCanShowToolbar(loaded->width(), loaded->height(), canvas_->width(), canvas_->height())) {
      skin_ = std::move(loaded);
    } else {
      log::Warning("skin file not usable: " + log::Utf8(WideView(file->path)));
      ShowSkinUnreadable(file->path);
    }
  }
  if ((!skin_ || !SkinSizeExpected(skin_->width(), skin_->height())) && !closeRequested_) {
    ShowApplicationMessage(hwnd(), Wide(texts::kSkinSizeWarning), MB_OK);
  }
}

void CDlgToolbarLayerDlg::ShowSkinUnreadable(const std::u16string& path) {
  // Put in by hand: the C library's %s takes narrow text here, and a path has no length limit.
  std::u16string text = texts::kSkinUnreadable;
  if (const size_t at = text.find(u"%s"); at != std::u16string::npos) text.replace(at, 2, path);
  ShowApplicationMessage(hwnd(), Wide(text), MB_OK | MB_ICONWARNING);
}

void CDlgToolbarLayerDlg::MoveToStoredPosition() {
  RECT rect{settings_.x, settings_.y, settings_.x + canvas_->width(), settings_.y + canvas_->height()};
  int x = settings_.x;
  int y = settings_.y;
  // A toolbar left on a monitor that is gone would be out of reach: bring it to the nearest one.
  if (!MonitorFromRect(&rect, MONITOR_DEFAULTTONULL)) {
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    if (GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor)) {
      x = monitor.rcWork.left;
      y = monitor.rcWork.top;
    }
  }
  SetWindowPos(hwnd(), HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
}

bool CDlgToolbarLayerDlg::PreTranslateMessage(MSG& message) {
  tooltip_.RelayEvent(message);
  return false;
}

void CDlgToolbarLayerDlg::CloseSequence() {
  host_.ToolbarClosing();
  for (const int alpha : CloseFadeAlphas(currentAlpha_)) {
    if (!PresentCanvas(alpha)) return;
    ostrel::SleepFor(50);
  }
  currentAlpha_ = 1;
}

void CDlgToolbarLayerDlg::OnClose(WPARAM, LPARAM) {
  CloseSequence();
  DefaultHandling();  // the dialog manager turns it into Cancel
}

void CDlgToolbarLayerDlg::OnOK() {
  CloseSequence();
  EndDialog(IDOK);
}

void CDlgToolbarLayerDlg::OnCancel() {
  CloseSequence();
  EndDialog(IDCANCEL);
}

void CDlgToolbarLayerDlg::OnDestroy(WPARAM, LPARAM) {
  host_.ToolbarDestroying();
  DefaultHandling();
  mouse_.SetHitMap({});
  skin_.reset();
  hitMap_.reset();
  canvas_.reset();
  trayIcon_.Remove();
}

void CDlgToolbarLayerDlg::OnMove(WPARAM, LPARAM) {
  DefaultHandling();
  // The outer corner, the same one the start-up applies, so the toolbar comes back
  // exactly where it was left.
  RECT rect{};
  GetWindowRect(hwnd(), &rect);
  settings_.x = rect.left;
  settings_.y = rect.top;
}

void CDlgToolbarLayerDlg::OnHotKey(WPARAM wParam, LPARAM) {
  host_.OnHotKey(static_cast<int>(wParam));
  DefaultHandling();
}

void CDlgToolbarLayerDlg::OnTimer(WPARAM wParam, LPARAM) {
  if (wParam == kTrayRetryTimerId) {
    OnTrayRetryTimer();
    return;
  }
  host_.OnTimer(wParam);
}

void CDlgToolbarLayerDlg::OnEngineDone(WPARAM, LPARAM lParam) { host_.OnEngineDone(lParam); }

void CDlgToolbarLayerDlg::OnDrawClipboard(WPARAM wParam, LPARAM lParam) {
  DefaultHandling();
  host_.OnDrawClipboard(wParam, lParam);
}

void CDlgToolbarLayerDlg::OnChangeClipboardChain(WPARAM wParam, LPARAM lParam) {
  DefaultHandling();
  host_.OnChangeClipboardChain(wParam, lParam);
}

LRESULT CDlgToolbarLayerDlg::OnMouseActivate(WPARAM, LPARAM) {
  // Until the click activates the toolbar, the foreground is the user's application.
  host_.NoteForegroundWindow();
  return DefaultHandling();
}

void CDlgToolbarLayerDlg::SettingsDialogClosed(std::optional<int> alpha) {
  if (alpha) currentAlpha_ = *alpha;
  buttons_.SetState(Command::Settings, ButtonState::Normal);
}

void CDlgToolbarLayerDlg::ShowReading(const ReadingShown& reading) { ShowReadingOnButtons(reading, buttons_); }

void CDlgToolbarLayerDlg::RedrawToolbar() {
  ostrel::RedrawToolbar(ViewOf(skin_), ViewOf(canvas_), buttons_, currentAlpha_,
                        [this](int alpha) { PresentCanvas(alpha); });
}

void CDlgToolbarLayerDlg::RedrawIfChanged() {
  RedrawToolbarIfChanged(ViewOf(skin_), ViewOf(canvas_), buttons_, currentAlpha_,
                         [this](int alpha) { PresentCanvas(alpha); });
}

bool CDlgToolbarLayerDlg::PresentCanvas(int alpha) {
  const HWND window = hwnd();
  if (!window || !canvas_) return false;
  WindowDc screen(nullptr);
  WindowDc windowDc(window);
  UniqueMemoryDc memory(CreateCompatibleDC(windowDc.get()));
  RECT rect{};
  GetWindowRect(window, &rect);
  POINT destination{rect.left, rect.top};
  SIZE size{rect.right - rect.left, rect.bottom - rect.top};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha & 0xFF), AC_SRC_ALPHA};
  BOOL presented;
  {
    SelectGuard select(memory.get(), canvas_->bitmap());
    presented = UpdateLayeredWindow(window, screen.get(), &destination, &size, memory.get(), &source, 0, &blend,
                                    ULW_ALPHA);
  }
  if (presented) return true;
  log::Failed("UpdateLayeredWindow", GetLastError());
  wchar_t text[128];
  swprintf(text, _countof(text), Wide(texts::kPresentFailed), static_cast<int>(GetLastError()));
  ShowMessageBox(window, text, Wide(texts::kErrorCaption), MB_OK | MB_ICONERROR);
  DestroyWindow(window);
  return false;
}

bool CDlgToolbarLayerDlg::HeldBackWhileOpening(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_CLOSE:
      closeRequested_ = true;
      return true;
    case WM_COMMAND:
      // OK and Cancel close the toolbar (Enter, Escape, the menu's exit); the dimming waits for nothing.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) closeRequested_ = true;
      return true;
    case WM_TIMER:
      return wParam != kTrayRetryTimerId;
    case WM_HOTKEY:
    case EngineDoneMessage:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MOUSEWHEEL:
      return true;
    default:
      return false;
  }
}

bool CDlgToolbarLayerDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (opening_ && HeldBackWhileOpening(message, wParam)) {
    result = 0;
    return true;
  }
  // The picture is first given while the dialog is still hidden; under Wine a layered window shown
  // after that sometimes stayed empty on the screen. Giving it again once shown costs one copy.
  if (message == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) != 0 &&
      !buttons_.InTray()) {
    PresentCanvas(currentAlpha_);
    return false;
  }
  // Sent from outside the program. Left unhandled here, it goes on through the handler
  // table, which has no entry for it, to the dialog manager.
  if (message == WM_COMMAND && wParam == kDimCommand) {
    buttons_.ToggleDimmedDisplay();
    RedrawToolbar();
    return false;
  }
  if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
    if (trayIcon_.AddAgain()) {
      KillTimer(hwnd(), kTrayRetryTimerId);
    } else {
      StartTrayRetry();
    }
    return false;
  }
  if (message != TrayMessage || wParam != kTrayIconId) return false;
  const HWND window = hwnd();
  switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      // A modal dialog or message box of the toolbar is open: show it rather than a menu.
      if (!IsWindowEnabled(window)) SetForegroundWindow(window);
      return false;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      if (!IsWindowEnabled(window)) return false;
      if (buttons_.InTray()) {
        RestoreFromTray();
      } else {
        POINT cursor{};
        GetCursorPos(&cursor);
        TrackToolbarMenu(cursor, false);
      }
      result = 1;
      return true;
    }
    default:
      return false;
  }
}

void CDlgToolbarLayerDlg::OnMouseMove(WPARAM, LPARAM lParam) {
  // The pointer reaches a button before the click that reads; Wine may have activated the
  // toolbar by the time WM_MOUSEACTIVATE would tell whose text is wanted.
  host_.NoteForegroundWindow();
  mouse_.OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  DefaultHandling();
}

void CDlgToolbarLayerDlg::OnLeftButtonDown(WPARAM, LPARAM lParam) {
  mouse_.OnLeftButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  DefaultHandling();
}

void CDlgToolbarLayerDlg::OnLeftButtonUp(WPARAM, LPARAM lParam) {
  mouse_.OnLeftButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  DefaultHandling();
}

void CDlgToolbarLayerDlg::OnCaptureChanged(WPARAM, LPARAM lParam) {
  // Our own ReleaseCapture names no window; a menu or another window taking it does.
  mouse_.OnCaptureChanged(lParam != 0);
  DefaultHandling();
}

void CDlgToolbarLayerDlg::OnRightButtonUp(WPARAM, LPARAM) {
  POINT cursor{};
  GetCursorPos(&cursor);
  TrackToolbarMenu(cursor, true);
  DefaultHandling();
}

void CDlgToolbarLayerDlg::OnMouseWheel(WPARAM wParam, LPARAM) {
  currentAlpha_ = MouseWheelAlpha(currentAlpha_, GET_WHEEL_DELTA_WPARAM(wParam), settings_);
  PresentCanvas(currentAlpha_);
  DefaultHandling();
}

void CDlgToolbarLayerDlg::TrackToolbarMenu(POINT cursor, bool stopReadingFirst) {
  const HWND window = hwnd();
  UniqueHmenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TOOLBAR_MENU)));
  const HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
  SetForegroundWindow(window);
  if (stopReadingFirst) host_.ExecuteCommand(Command::Stop);
  if (!popup) return;
  // The chosen item arrives as WM_COMMAND once the menu has closed.
  TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
  // Without these the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(window);
  PostMessageW(window, WM_NULL, 0, 0);
}

void CDlgToolbarLayerDlg::OnManual() { OpenBesideProgram(texts::kManualFile, texts::kManualFailed); }

void CDlgToolbarLayerDlg::OnSupportPage() { OpenBesideProgram(texts::kSupportFile, texts::kSupportFailed); }

void CDlgToolbarLayerDlg::OpenBesideProgram(const char16_t* file, const char16_t* failure) {
  const HWND window = hwnd();
  const std::u16string path = ProgramDirectory() + file;
  const auto opened = reinterpret_cast<INT_PTR>(
      ShellExecuteW(window, L"open", Wide(path), nullptr, nullptr, SW_SHOWNORMAL));
  if (opened > 32) return;
  log::Failed("opening " + log::Utf8(WideView(path)), static_cast<DWORD>(opened));
  ShowApplicationMessage(window, Wide(failure), MB_OK | MB_ICONEXCLAMATION);
}

void CDlgToolbarLayerDlg::OnLogFolder() {
  const HWND window = hwnd();
  const std::wstring folder = log::Folder();
  const auto opened = folder.empty() ? INT_PTR{0}
                                     : reinterpret_cast<INT_PTR>(ShellExecuteW(window, L"open", folder.c_str(), nullptr,
                                                                               nullptr, SW_SHOWNORMAL));
  if (opened > 32) return;
  log::Failed("opening the log folder", static_cast<DWORD>(opened));
  std::u16string text = texts::kLogFolderFailed;
  const std::u16string place = folder.empty() ? std::u16string(texts::kLogFolderUnknown) : FromWide(folder.c_str());
  if (const size_t at = text.find(u"%s"); at != std::u16string::npos) text.replace(at, 2, place);
  ShowApplicationMessage(window, Wide(text), MB_OK | MB_ICONEXCLAMATION);
}

void CDlgToolbarLayerDlg::MinimiseToTray() {
  if (buttons_.InTray()) {
    FadeInFromTray();
    return;
  }
  // Without its icon the toolbar, once stored away, could not be brought back.
  if (!trayIcon_.added() && !trayIcon_.AddAgain()) {
    buttons_.SetState(Command::Minimise, ButtonState::Normal);
    ShowApplicationMessage(hwnd(), Wide(texts::kTrayIconFailed), MB_OK | MB_ICONWARNING);
    RedrawIfChanged();
    return;
  }
  const ScreenRect place = WindowRect();
  for (const AnimationStep& step : MinimiseToTraySteps(place, TrayPointFor(place), currentAlpha_)) {
    MoveWindowTo(step.position);
    if (!PresentCanvas(step.alpha)) return;
    ostrel::SleepFor(25);
  }
  // Fully transparent, the toolbar stays where it was and lets every click through.
  buttons_.SetInTray(true);
  if (!PresentCanvas(0)) return;
  MoveWindowTo({place.left, place.top});
  trayIcon_.ShowBalloon(Wide(texts::kTrayBalloonTitle), Wide(texts::kTrayBalloonText));
  buttons_.SetState(Command::Minimise, ButtonState::Normal);
}

void CDlgToolbarLayerDlg::FadeInFromTray() {
  buttons_.SetInTray(false);
  for (const int alpha : TrayFadeInAlphas(currentAlpha_)) {
    if (!PresentCanvas(alpha)) return;
    ostrel::SleepFor(50);
  }
  if (!PresentCanvas(currentAlpha_)) return;
  buttons_.SetState(Command::Minimise, ButtonState::Normal);
}

void CDlgToolbarLayerDlg::RestoreFromTray() {
  const HWND window = hwnd();
  ShowWindow(window, SW_SHOWNORMAL);
  buttons_.SetInTray(false);
  const ScreenRect place = WindowRect();
  for (const AnimationStep& step : RestoreFromTraySteps(place, TrayPointFor(place), currentAlpha_)) {
    MoveWindowTo(step.position);
    if (!PresentCanvas(step.alpha)) return;
    ostrel::SleepFor(25);
  }
  if (!PresentCanvas(currentAlpha_)) return;
  MoveWindowTo({place.left, place.top});
  // Shows what the hot keys changed meanwhile.
  RedrawToolbar();
}

ScreenPoint CDlgToolbarLayerDlg::ClientToScreenPoint(int x, int y) {
  POINT point{x, y};
  ClientToScreen(hwnd(), &point);
  return {point.x, point.y};
}

bool CDlgToolbarLayerDlg::ToolbarIsUnder(ScreenPoint point) {
  const HWND under = WindowFromPoint(POINT{point.x, point.y});
  return under && GetAncestor(under, GA_ROOT) == hwnd();
}

bool CDlgToolbarLayerDlg::HasCapture() { return GetCapture() == hwnd(); }

void CDlgToolbarLayerDlg::TakeCapture() { SetCapture(hwnd()); }

void CDlgToolbarLayerDlg::ReleaseMouseCapture() { ReleaseCapture(); }

ScreenRect CDlgToolbarLayerDlg::WindowRect() {
  RECT rect{};
  GetWindowRect(hwnd(), &rect);
  return ToScreenRect(rect);
}

void CDlgToolbarLayerDlg::MoveWindowTo(ScreenPoint topLeft) {
  SetWindowPos(hwnd(), nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDlgToolbarLayerDlg::BringToForeground() { SetForegroundWindow(hwnd()); }

void CDlgToolbarLayerDlg::ExecuteCommand(Command command) { host_.ExecuteCommand(command); }

void CDlgToolbarLayerDlg::SetTipText(const char16_t* text) { tooltip_.UpdateTipText(Wide(text)); }

}  // namespace ostrel
