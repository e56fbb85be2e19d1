#include "app/application_win32.h"

#include <shellapi.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/program_directory.h"
#include "app/start_record.h"
#include "app/texts.h"
#include "encoding/code_page_win32.h"
#include "encoding/language_code_pages.h"
#include "platform/log_win32.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "settings/settings_model.h"
#include "settingsdlg/apply_hot_keys.h"
#include "settingsdlg/hot_key_registrar_win32.h"
#include "settingsdlg/run_settings_dialog_win32.h"

namespace ostrel {
namespace {

// Once a close has come in, the start-up's remaining failures are not worth a box.
class StartUpHotKeys final : public HotKeyRegistrar {
 public:
  explicit StartUpHotKeys(const CDlgToolbarLayerDlg& toolbar)
      : toolbar_(toolbar), registrar_(toolbar.hwnd(), toolbar.hwnd()) {}
  void Unregister(int id) override { registrar_.Unregister(id); }
  bool Register(int id, uint16_t word) override { return registrar_.Register(id, word); }
  void ShowFailure(int id, std::u16string_view text) override {
    if (!toolbar_.closeRequested()) registrar_.ShowFailure(id, text);
  }

 private:
  const CDlgToolbarLayerDlg& toolbar_;
  Win32HotKeyRegistrar registrar_;
};

}  // namespace

Application::Application(SpeechEngine& engine) : engine_(engine) {}

void Application::Run() { toolbar_.DoModal(nullptr); }

bool Application::Open() { return toolbar_.Create(nullptr); }

Application::ReadingParts::ReadingParts(HWND toolbar, CaptureFlags& flags, ReadingControl& reading,
                                        const AppSettings& settings)
    : platform(toolbar),
      reader(toolbar),
      capture(platform, flags),
      tick(reader, encoder, platform, flags, capture, reading, settings) {}

// The order is the one the toolbar has always started in: failures are reported in it. A
// close that came in during one of the boxes ends the start-up after it.
void Application::ToolbarOpening() {
  const HWND window = toolbar_.hwnd();
  LoadSettings(settings_, store_, ProgramDirectory());
  toolbar_.ShowSkin();
  if (toolbar_.closeRequested()) return;
  StartUpHotKeys hotKeys(toolbar_);
  RegisterHotKeys(settings_, hotKeys);
  if (toolbar_.closeRequested()) return;
  toolbar_.AddTooltipAndTrayIcon();
  if (toolbar_.closeRequested()) return;
  readingParts_ = std::make_unique<ReadingParts>(window, flags_, reading_, settings_);
  StartEngine();
  engineStarted_ = true;
  JoinClipboardChain();
  chainJoined_ = true;
  if (toolbar_.closeRequested()) return;
  toolbar_.MoveToStoredPosition();
  ValidateLanguage(settings_);
  log::Info(LanguagesRecord(settings_));
  toolbar_.ShowReading(reading_.Shown());
  toolbar_.RedrawToolbar();
  CheckForUpdate();
}

// The engine takes the dictionary's path in code page 932. A folder named in another script
// (a Korean user name under %APPDATA%, where the editor saves) would reach it as '?' and the
// dictionary would silently not load: the short form is given instead, and where there is none
// the user is told which dictionaries go unused.
void Application::StartEngine() {
  const WindowId window = Window();
  std::u16string unusable;
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    if (!settings_.languageEnabled[l]) continue;
    const std::u16string& path = settings_.languages[l].UserDicPath;
    const PathInCodePage dictionary = PathForCodePage(path, kEnginePathCodePage);
    if (dictionary.form == PathForm::kNone) {
      unusable += u'\n';
      unusable += texts::kUserDictionaryLanguages[l];
      unusable += u"：" + path;
    }
    engine_.SetUserDictionary(window, EngineLanguage(l), dictionary.bytes.c_str());
    ApplyEngineRanges(settings_, store_, l, engine_.StartLanguage(EngineLanguage(l)));
  }
  if (!unusable.empty()) {
    const std::u16string text = texts::kUserDictionaryUnusable + (u'\n' + unusable);
    toolbar_.ReportOnce(CDlgToolbarLayerDlg::Failure::UserDictionary, text.c_str());
  }
}

// The first viewer of a chain gets no successor back, so a null result alone is no failure.
void Application::JoinClipboardChain() {
  const HWND window = toolbar_.hwnd();
  nextClipboardViewer_ = SetClipboardViewer(window);
  if (!nextClipboardViewer_ && GetClipboardViewer() != window) {
    log::Failed("SetClipboardViewer", GetLastError());
    toolbar_.ReportOnce(CDlgToolbarLayerDlg::Failure::ClipboardViewer, texts::kClipboardViewerFailed);
  }
}

void Application::CheckForUpdate() {
  if (ReadAutoCheck(store_) == u"0") return;
  const std::u16string updater = ProgramDirectory() + texts::kUpdaterFile;
  const auto started = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", Wide(updater), Wide(texts::kUpdaterParameters), nullptr, SW_SHOW));
  if (started <= 32) log::Failed("starting the updater", static_cast<DWORD>(started));
}

void Application::ToolbarClosing() {
  reading_.StopForClose();
  const bool saved = SaveSettings(settings_, store_);
  if (!SaveWindowPosition(settings_, store_) || !saved) {
    log::Error("the settings were not all saved");
    toolbar_.ReportOnce(CDlgToolbarLayerDlg::Failure::Settings, texts::kSettingsNotSaved);
  }
}

void Application::ToolbarDestroying() {
  const HWND window = toolbar_.hwnd();
  // A start-up cut short by a close may have got neither far.
  if (chainJoined_) ChangeClipboardChain(window, nextClipboardViewer_);
  if (readingParts_) readingParts_->capture.EndForClose();
  for (LanguageIndex l = 0; l < kLanguageCount && engineStarted_; ++l) {
    if (settings_.languageEnabled[l]) engine_.CloseLanguage(Window(), EngineLanguage(l));
  }
  Win32HotKeyRegistrar hotKeys(window, window);
  UnregisterHotKeys(settings_, hotKeys);
}

void Application::NoteForegroundWindow() {
  if (!readingParts_) return;
  readingParts_->capture.RememberPreviousForeground(reinterpret_cast<uintptr_t>(GetForegroundWindow()));
}

void Application::ExecuteCommand(Command command) { reading_.ExecuteCommand(command); }

void Application::OnHotKey(int id) {
  if (!readingParts_) return;
  // The application in the foreground is the one whose text is wanted.
  readingParts_->capture.RememberPreviousForeground(reinterpret_cast<uintptr_t>(GetForegroundWindow()));
  reading_.OnHotKey(id);
}

void Application::OnTimer(UINT_PTR id) {
  if (id == Win32CapturePlatform::kClipboardTimerId && readingParts_) readingParts_->tick.OnClipboardTimer();
}

void Application::OnEngineDone(LPARAM lParam) { reading_.OnEngineDone(lParam); }

void Application::OnDrawClipboard(WPARAM wParam, LPARAM lParam) {
  if (readingParts_) readingParts_->capture.OnClipboardChanged();
  PassOnToNextViewer(WM_DRAWCLIPBOARD, wParam, lParam);
}

void Application::OnChangeClipboardChain(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(wParam) == nextClipboardViewer_) {
    nextClipboardViewer_ = reinterpret_cast<HWND>(lParam);
  } else {
    PassOnToNextViewer(WM_CHANGECBCHAIN, wParam, lParam);
  }
}

void Application::PassOnToNextViewer(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!nextClipboardViewer_) return;
  // A hung viewer further down the chain must not freeze the toolbar.
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(nextClipboardViewer_, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &ignored)) {
    log::Failed("passing a clipboard message on to the next viewer", GetLastError());
  }
}

void Application::StartTextCapture(ReadKind kind) {
  if (!readingParts_) return;
  // At each capture, so that a setting changed in the dialog counts from the next reading.
  readingParts_->capture.SetOptions(
      {.keepClipboard = settings_.KeepClipboard == 1, .quick = settings_.QuickCapture == 1});
  readingParts_->capture.StartTextCapture(Number(kind));
}

void Application::EndTextCapture() {
  if (readingParts_) readingParts_->capture.EndForStop();
}

void Application::PostClose() { PostMessageW(toolbar_.hwnd(), WM_CLOSE, 0, 0); }

void Application::ShowReading(const ReadingShown& reading) { toolbar_.ShowReading(reading); }

void Application::RedrawToolbar() { toolbar_.RedrawToolbar(); }

void Application::RedrawIfChanged() { toolbar_.RedrawIfChanged(); }

void Application::SleepFor(int milliseconds) { ostrel::SleepFor(static_cast<DWORD>(milliseconds)); }

void Application::OpenSettingsDialog() {
  int alpha = toolbar_.currentAlpha();
  const bool ok = RunSettingsDialog(toolbar_.hwnd(), settings_, engine_, alpha, store_) == IDOK;
  toolbar_.SettingsDialogClosed(ok ? std::optional<int>(alpha) : std::nullopt);
}

void Application::MinimiseToTray() { toolbar_.MinimiseToTray(); }

}  // namespace ostrel
