#include "settingsdlg/run_settings_dialog_win32.h"

#include "settings/settings_model.h"
#include "settingsdlg/copy_page_values.h"
#include "settingsdlg/env_set_dlg_win32.h"

namespace ostrel {

INT_PTR RunSettingsDialog(HWND owner, AppSettings& settings, SpeechEngine& engine, int& currentAlpha,
                          RegistryStore& store) {
  CEnvSetDlg dialog(settings, engine);
  dialog.setting().SetHotKeyWindow(owner);
  dialog.initialLanguage = settings.language;
  const VoicePages pages = dialog.VoicePageValues();
  TakeStoredDictionaryPaths(settings, store);
  CopyIntoPages(settings, pages, dialog.setting().core());
  const INT_PTR result = dialog.DoModal(owner);
  if (result == IDOK) {
    currentAlpha = CopyBackAfterOk(settings, pages, dialog.setting().core());
    SaveSettings(settings, store);
  }
  return result;
}

}  // namespace ostrel
