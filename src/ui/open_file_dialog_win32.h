#pragma once
#include <windows.h>

#include <commdlg.h>  // the OFN_* options

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ostrel::ui {

struct FileFilter {
  std::wstring_view name;     // "CSVテキスト (*.CSV)"
  std::wstring_view pattern;  // "*.CSV"
};

enum class FileDialogForm {
  kNewest,   // IFileOpenDialog where the system has it, else the classic dialog
  kClassic,  // GetOpenFileNameW
};

// Asks for an existing file to open. `options` are OFN_* flags; the newer form takes the
// ones it has an equivalent for (OFN_FILEMUSTEXIST, OFN_CREATEPROMPT, OFN_PATHMUSTEXIST, ...),
// and has no read-only box to hide. The chosen file's full path, or nothing when the user
// cancels or the dialog cannot be shown.
std::optional<std::wstring> OpenFileDialog(HWND owner, std::span<const FileFilter> filters,
                                           std::wstring_view defaultExtension, std::wstring_view initialFileName,
                                           std::wstring_view initialFolder, DWORD options,
                                           FileDialogForm form = FileDialogForm::kNewest);

}  // namespace ostrel::ui
