// The program's and a library's path, also where the folder is deeper than MAX_PATH.

#include "platform/module_path_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/program_directory.h"
#include "platform/program_directory_win32.h"
#include "platform/unique_handle_win32.h"
#include "platform/wide_win32.h"

namespace ostrel {
namespace {

constexpr wchar_t kLongPrefix[] = L"\\\\?\\";

std::wstring WithoutLongPrefix(std::wstring path) {
  if (path.rfind(kLongPrefix, 0) == 0) path.erase(0, 4);
  return path;
}

// A folder chain under %TEMP% whose path is longer than MAX_PATH; removed at the end.
class DeepFolder {
 public:
  DeepFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    std::wstring path = std::wstring(kLongPrefix) + temp + L"ostrel-module-path";
    folders_.push_back(path);
    while (path.size() < MAX_PATH + 40) {
      path += L"\\a-folder-name-of-forty-characters-long-x";
      folders_.push_back(path);
    }
    for (const std::wstring& folder : folders_) CreateDirectoryW(folder.c_str(), nullptr);
  }
  ~DeepFolder() {
    for (auto it = files_.rbegin(); it != files_.rend(); ++it) DeleteFileW(it->c_str());
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) RemoveDirectoryW(it->c_str());
  }
  DeepFolder(const DeepFolder&) = delete;
  DeepFolder& operator=(const DeepFolder&) = delete;

  const std::wstring& path() const { return folders_.back(); }
  void Remember(const std::wstring& file) { files_.push_back(file); }

 private:
  std::vector<std::wstring> folders_;
  std::vector<std::wstring> files_;
};

TEST(PlatformModulePath, TheProgramsPathIsTheSystemsWithItsFolder) {
  std::vector<wchar_t> buffer(32768);
  const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  ASSERT_GT(length, 0u);
  const std::u16string expected = FromWide(buffer.data(), length);
  EXPECT_EQ(ModulePath(), expected);
  EXPECT_EQ(ModuleDirectory(), expected.substr(0, expected.find_last_of(u'\\') + 1));
}

TEST(PlatformModulePath, ALibraryDeeperThanMaxPathKeepsItsWholePath) {
  DeepFolder deep;
  const std::wstring copy = deep.path() + L"\\Hanvert.dll";
  const std::wstring source(WideView(ModuleDirectory() + u"Hanvert.dll"));
  ASSERT_TRUE(CopyFileW(source.c_str(), copy.c_str(), FALSE)) << "error " << GetLastError();
  deep.Remember(copy);

  const UniqueModule library(LoadLibraryExW(copy.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  ASSERT_TRUE(library) << "error " << GetLastError();
  const std::wstring path(WideView(ModulePath(library.get())));
  const std::wstring folder(WideView(ModuleDirectory(library.get())));
  EXPECT_GT(path.size(), static_cast<size_t>(MAX_PATH));
  EXPECT_EQ(WithoutLongPrefix(path), WithoutLongPrefix(copy));
  EXPECT_EQ(WithoutLongPrefix(folder), WithoutLongPrefix(deep.path() + L"\\"));
}

TEST(PlatformModulePath, ProgramDirectoryEndsInABackslash) {
  const std::u16string previous = ProgramDirectory();
  FillProgramDirectory();
  EXPECT_EQ(ProgramDirectory(), ModuleDirectory());
  SetProgramDirectory(previous);
}

}  // namespace
}  // namespace ostrel
