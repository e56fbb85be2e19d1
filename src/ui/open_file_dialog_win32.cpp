#include "ui/open_file_dialog_win32.h"

#include <commdlg.h>
#include <objbase.h>
#include <shobjidl.h>

#include <utility>
#include <vector>

#include "platform/unique_handle_win32.h"

namespace ostrel::ui {
namespace {

// COM for the length of one dialog, when the thread has not set it up itself.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  // RPC_E_CHANGED_MODE: the thread is multithreaded, where the dialog still works.
  bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

FILEOPENDIALOGOPTIONS NewerOptions(DWORD options) {
  static constexpr std::pair<DWORD, FILEOPENDIALOGOPTIONS> kEquivalents[] = {
      {OFN_FILEMUSTEXIST, FOS_FILEMUSTEXIST},         {OFN_CREATEPROMPT, FOS_CREATEPROMPT},
      {OFN_PATHMUSTEXIST, FOS_PATHMUSTEXIST},         {OFN_NOCHANGEDIR, FOS_NOCHANGEDIR},
      {OFN_NODEREFERENCELINKS, FOS_NODEREFERENCELINKS}, {OFN_DONTADDTORECENT, FOS_DONTADDTORECENT},
      {OFN_FORCESHOWHIDDEN, FOS_FORCESHOWHIDDEN},     {OFN_NOVALIDATE, FOS_NOVALIDATE},
      {OFN_SHAREAWARE, FOS_SHAREAWARE},               {OFN_NOTESTFILECREATE, FOS_NOTESTFILECREATE},
  };
  FILEOPENDIALOGOPTIONS result = FOS_FORCEFILESYSTEM;
  for (const auto& [classic, newer] : kEquivalents) {
    if (options & classic) result |= newer;
  }
  return result;
}

enum class Outcome { kChosen, kCancelled, kUnavailable };

Outcome ShowNewer(HWND owner, std::span<const FileFilter> filters, const std::wstring& defaultExtension,
                  const std::wstring& initialFileName, const std::wstring& initialFolder, DWORD options,
                  std::wstring& chosen) {
  ComScope com;
  if (!com.usable()) return Outcome::kUnavailable;
  ComPtr<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                              reinterpret_cast<void**>(dialog.put()))))
    return Outcome::kUnavailable;

  FILEOPENDIALOGOPTIONS current = 0;
  dialog->GetOptions(&current);
  dialog->SetOptions((current & ~(FOS_FILEMUSTEXIST | FOS_PATHMUSTEXIST)) | NewerOptions(options));

  std::vector<std::wstring> texts;
  texts.reserve(filters.size() * 2);
  std::vector<COMDLG_FILTERSPEC> specs;
  for (const FileFilter& filter : filters) {
    texts.emplace_back(filter.name);
    texts.emplace_back(filter.pattern);
  }
  for (std::size_t i = 0; i + 1 < texts.size(); i += 2) specs.push_back({texts[i].c_str(), texts[i + 1].c_str()});
  if (!specs.empty()) {
    dialog->SetFileTypes(static_cast<UINT>(specs.size()), specs.data());
    dialog->SetFileTypeIndex(1);
  }
  if (!defaultExtension.empty()) dialog->SetDefaultExtension(defaultExtension.c_str());
  if (!initialFileName.empty()) dialog->SetFileName(initialFileName.c_str());
  if (!initialFolder.empty()) {
    // A folder that does not parse (missing, or "\" alone) leaves the dialog's own choice.
    ComPtr<IShellItem> folder;
    if (SUCCEEDED(SHCreateItemFromParsingName(initialFolder.c_str(), nullptr, IID_IShellItem,
                                              reinterpret_cast<void**>(folder.put()))))
      dialog->SetFolder(folder.get());
  }

  const HRESULT shown = dialog->Show(owner);
  if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED)) return Outcome::kCancelled;
  if (FAILED(shown)) return Outcome::kUnavailable;
  ComPtr<IShellItem> result;
  if (FAILED(dialog->GetResult(result.put()))) return Outcome::kCancelled;
  CoTaskString path;
  if (FAILED(result->GetDisplayName(SIGDN_FILESYSPATH, path.put())) || !path.get()) return Outcome::kCancelled;
  chosen = path.get();
  return Outcome::kChosen;
}

std::optional<std::wstring> ShowClassic(HWND owner, std::span<const FileFilter> filters,
                                        const std::wstring& defaultExtension, const std::wstring& initialFileName,
                                        const std::wstring& initialFolder, DWORD options) {
  // "name\0pattern\0...\0\0"
  std::wstring filterText;
  for (const FileFilter& filter : filters) {
    filterText.append(filter.name).push_back(L'\0');
    filterText.append(filter.pattern).push_back(L'\0');
  }
  filterText.push_back(L'\0');

  // Room for long paths; a longer initial name is cut rather than refused.
  std::vector<wchar_t> file(32768, L'\0');
  initialFileName.copy(file.data(), file.size() - 1);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filters.empty() ? nullptr : filterText.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
  ofn.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
  ofn.Flags = (options & ~OFN_ALLOWMULTISELECT) | OFN_EXPLORER;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return std::wstring(file.data());
}

}  // namespace

std::optional<std::wstring> OpenFileDialog(HWND owner, std::span<const FileFilter> filters,
                                           std::wstring_view defaultExtension, std::wstring_view initialFileName,
                                           std::wstring_view initialFolder, DWORD options, FileDialogForm form) {
  const std::wstring extension(defaultExtension);
  const std::wstring fileName(initialFileName);
  const std::wstring folder(initialFolder);
  if (form == FileDialogForm::kNewest) {
    std::wstring chosen;
    switch (ShowNewer(owner, filters, extension, fileName, folder, options, chosen)) {
      case Outcome::kChosen:
        return chosen;
      case Outcome::kCancelled:
        return std::nullopt;
      case Outcome::kUnavailable:
        break;
    }
  }
  return ShowClassic(owner, filters, extension, fileName, folder, options);
}

}  // namespace ostrel::ui
