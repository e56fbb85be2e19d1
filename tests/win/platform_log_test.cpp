// The log's file: bounded with one older file, whole lines from writers at once, and never a
// failure of its own when the folder cannot be written.

#include "platform/log_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "test_files.h"

namespace ostrel {
namespace {

using testing::ReadBytes;

class LogFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    folder_ = std::wstring(temp) + L"ostrel-log-test\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    path_ = folder_ + L"Program.log";
    DeleteFileW(path_.c_str());
    DeleteFileW(log::OlderPath(path_).c_str());
  }
  void TearDown() override {
    DeleteFileW(path_.c_str());
    DeleteFileW(log::OlderPath(path_).c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  static uint64_t SizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  static std::vector<std::string> Lines(const std::wstring& path) {
    const std::vector<char> bytes = ReadBytes(path);
    std::vector<std::string> lines;
    std::string line;
    for (const char c : bytes) {
      line += c;
      if (c == '\n') lines.push_back(std::move(line)), line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
  }

  std::wstring folder_;
  std::wstring path_;
};

TEST_F(LogFileTest, OlderFileKeepsItsExtensionForADoubleClick) {
  EXPECT_EQ(log::OlderPath(L"C:\\a\\Ostrel4.log"), L"C:\\a\\Ostrel4.old.log");
  EXPECT_EQ(log::OlderPath(L"C:\\a.b\\log"), L"C:\\a.b\\log.old");
}

// With the real limit: a file that reaches 1 MiB becomes the one older file, the next records
// start a new one, and a second turn replaces the older file rather than adding another.
TEST_F(LogFileTest, PastTheLimitTheFileBecomesTheOneOlderFile) {
  const std::string record = std::string(1000, 'x') + "\r\n";
  const uint64_t perFile = kLogLimitBytes / record.size() + 1;
  for (uint64_t i = 0; i < perFile; ++i) ASSERT_TRUE(log::AppendRecord(path_, record));
  EXPECT_GE(SizeOf(path_), kLogLimitBytes);
  EXPECT_EQ(SizeOf(log::OlderPath(path_)), 0u) << "moved aside before it was full";

  ASSERT_TRUE(log::AppendRecord(path_, "first of the new file\r\n"));
  EXPECT_EQ(SizeOf(path_), 23u);
  EXPECT_EQ(SizeOf(log::OlderPath(path_)), perFile * record.size());

  for (uint64_t i = 0; i < perFile + 1; ++i) ASSERT_TRUE(log::AppendRecord(path_, record));
  EXPECT_LE(SizeOf(path_), kLogLimitBytes + record.size());
  EXPECT_GE(SizeOf(log::OlderPath(path_)), kLogLimitBytes);
  EXPECT_EQ(Lines(log::OlderPath(path_)).front(), "first of the new file\r\n") << "not the file before";
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder_ + L"*").c_str(), &found);
  int files = 0;
  if (search != INVALID_HANDLE_VALUE) {
    do files += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    while (FindNextFileW(search, &found));
    FindClose(search);
  }
  EXPECT_EQ(files, 2) << "more than the log and its one older file";
}

// As the program and the engine loaded into it write, each with a handle of its own.
TEST_F(LogFileTest, WritersAtOnceEachLeaveWholeLines) {
  constexpr int kPerWriter = 300;
  const auto writer = [this](char mark) {
    const std::string record = std::string(200, mark) + "\r\n";
    for (int i = 0; i < kPerWriter; ++i) log::AppendRecord(path_, record);
  };
  std::thread a(writer, 'a');
  std::thread b(writer, 'b');
  a.join();
  b.join();
  const std::vector<std::string> lines = Lines(path_);
  ASSERT_EQ(lines.size(), 2u * kPerWriter);
  for (const std::string& line : lines) {
    ASSERT_EQ(line.size(), 202u);
    EXPECT_EQ(line.find_first_not_of(line[0]), 200u) << line;
  }
}

TEST_F(LogFileTest, AFolderThatCannotBeWrittenCostsOnlyTheRecord) {
  EXPECT_FALSE(log::AppendRecord(folder_ + L"missing\\Program.log", "x\r\n"));
  EXPECT_FALSE(log::AppendRecord(L"", "x\r\n"));
  // A record in passing leaves the error a caller is about to read.
  SetLastError(ERROR_ACCESS_DENIED);
  log::Error("a failure that is about to be shown");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(LogTextTest, WindowsErrorsAndHresultsCarryNumberAndWords) {
  const std::string error = log::ErrorText(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(error.rfind("error 2 (", 0), 0u) << error;
  EXPECT_EQ(error.back(), ')');
  EXPECT_EQ(error.find('\n'), std::string::npos);
  const std::string hresult = log::HresultText(E_ACCESSDENIED);
  EXPECT_EQ(hresult.rfind("HRESULT 0x80070005", 0), 0u) << hresult;
  EXPECT_EQ(log::ErrorText(0xDEADBEEF), "error 3735928559");  // no words for it: the number alone
}

// The toolbar's menu keeps its items and gains the log folder's beside them.
TEST(LogMenuTest, TheToolbarMenuOffersTheLogFolderBeforeExit) {
  const HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(132));
  ASSERT_NE(menu, nullptr);
  const HMENU popup = GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  const std::vector<std::pair<UINT, std::wstring>> expected = {
      {32775, L"ユーザーズマニュアル"},
      {32777, L"Branticサポート情報"},
      {32778, L"ログのフォルダーを開く(&L)"},
      {IDCANCEL, L"終了(&X)"},
  };
  ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(expected.size()));
  for (int i = 0; i < static_cast<int>(expected.size()); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(popup, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    EXPECT_EQ(GetMenuItemID(popup, i), expected[static_cast<size_t>(i)].first);
    EXPECT_EQ(text, expected[static_cast<size_t>(i)].second);
  }
  DestroyMenu(menu);
}

}  // namespace
}  // namespace ostrel
