#include "dicteditor/dictionary_files_win32.h"

#include <shlobj.h>

#include "dicteditor/message_text.h"
#include "encoding/code_page_win32.h"
#include "platform/unique_handle_win32.h"
#include "platform/wide_win32.h"

namespace ostrel::dicteditor {
namespace {

// A dictionary is a few thousand lines; anything near this is not one.
constexpr LONGLONG kLargestDictionary = 256LL * 1024 * 1024;

}  // namespace

FileBytes ReadWholeFile(const std::u16string& path) {
  FileBytes result;
  UniqueFile file(CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    result.error = GetLastError();
    return result;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    result.error = GetLastError();
    return result;
  }
  if (size.QuadPart > kLargestDictionary) {
    result.error = ERROR_FILE_TOO_LARGE;
    return result;
  }
  result.bytes.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < result.bytes.size()) {
    DWORD read = 0;
    if (!ReadFile(file.get(), result.bytes.data() + done, static_cast<DWORD>(result.bytes.size() - done), &read,
                  nullptr)) {
      result.error = GetLastError();
      return result;
    }
    if (read == 0) break;
    done += read;
  }
  result.bytes.resize(done);
  return result;
}

std::u16string ErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text = length && buffer ? FromWide(buffer, length) : std::u16string();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
  if (!text.empty()) text += u' ';
  return text + u"(" + DecimalText(error) + u")";
}

orvatone::CodePageDecoder CodePageDecoderFor(unsigned codePage) {
  return [codePage](std::string_view bytes) { return FromCodePage(bytes, codePage); };
}

CodePageEncoder CodePageEncoderFor(unsigned codePage) {
  return [codePage](std::u16string_view text) { return ToCodePageExactly(text, codePage); };
}

uint32_t Win32SaveFileSystem::WriteWholeFile(const std::u16string& path, std::string_view bytes) {
  UniqueFile file(CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError();
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr)) {
      return GetLastError();
    }
    if (written == 0) return ERROR_DISK_FULL;
    done += written;
  }
  // On the disk before it takes the old file's place: a crash then leaves one or the other whole.
  if (!FlushFileBuffers(file.get())) return GetLastError();
  if (!CloseHandle(file.release())) return GetLastError();
  return 0;
}

uint32_t Win32SaveFileSystem::ReplaceWith(const std::u16string& target, const std::u16string& replacement) {
  const DWORD attributes = GetFileAttributesW(Wide(target));
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (MoveFileExW(Wide(replacement), Wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    return GetLastError();
  }
  // A file its owner marked read-only is not written over, whatever the folder allows.
  if (attributes & FILE_ATTRIBUTE_READONLY) return ERROR_ACCESS_DENIED;
  // ReplaceFileW keeps the old file's attributes and security; a plain rename is the fallback
  // where it is not implemented.
  if (ReplaceFileW(Wide(target), Wide(replacement), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
    return 0;
  }
  const DWORD replaceError = GetLastError();
  if (replaceError == ERROR_ACCESS_DENIED || replaceError == ERROR_SHARING_VIOLATION ||
      replaceError == ERROR_UNABLE_TO_REMOVE_REPLACED) {
    return replaceError;
  }
  if (MoveFileExW(Wide(replacement), Wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
  return replaceError;
}

void Win32SaveFileSystem::Remove(const std::u16string& path) { DeleteFileW(Wide(path)); }

std::u16string AppDataFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return FromWide(path);
}

bool MakeFolder(const std::u16string& folder) {
  const int result = SHCreateDirectoryExW(nullptr, Wide(folder), nullptr);
  return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

}  // namespace ostrel::dicteditor
