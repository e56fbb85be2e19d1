#include "platform/log_record.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/start_record.h"
#include "log_seam.h"

namespace ostrel {
namespace {

const LogStamp kStamp{2024, 5, 1, 9, 3, 7, 45, 4242, 17};

TEST(LogRecordTest, OneLineWithTimeProcessThreadLevelAndSource) {
  EXPECT_EQ(FormatLogRecord(kStamp, LogLevel::kError, "Ostrel4", "RegisterHotKey 1: error 1409"),
            "2024-05-01 09:03:07.045 4242/17 ERROR Ostrel4: RegisterHotKey 1: error 1409\r\n");
  EXPECT_EQ(FormatLogRecord(kStamp, LogLevel::kInfo, "Orvatone", "x").substr(32), "INFO Orvatone: x\r\n");
  EXPECT_EQ(FormatLogRecord(kStamp, LogLevel::kWarning, "Orvatone", "x").substr(32), "WARN Orvatone: x\r\n");
}

TEST(LogRecordTest, ASystemMessageStaysOneLine) {
  // FormatMessage ends its texts with "\r\n"; some contain line breaks and tabs inside too.
  const std::string record = FormatLogRecord(kStamp, LogLevel::kError, "Ostrel4", "a\r\nb\tc\x7f\r\n");
  EXPECT_EQ(record.substr(record.find(": ") + 2), "a  b c\r\n");
  EXPECT_EQ(record.find('\n'), record.size() - 1);
}

TEST(LogRecordTest, ALongMessageIsCutWholeCharactersOnly) {
  // Three-byte characters, so the limit falls inside one of them.
  std::string message;
  while (message.size() <= kLogMessageLimit) message += "読";
  const std::string record = FormatLogRecord(kStamp, LogLevel::kInfo, "Ostrel4", message);
  ASSERT_LT(record.size(), kLogMessageLimit + 80);
  const std::string body = record.substr(record.find(": ") + 2);
  EXPECT_EQ(body.substr(body.size() - 6), " ...\r\n");
  EXPECT_EQ((body.size() - 6) % 3, 0u) << "a character was cut in two";
}

std::vector<std::pair<LogLevel, std::string>> sunk;
void Collect(LogLevel level, std::string_view message) noexcept { sunk.emplace_back(level, std::string(message)); }

class LogSeamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sunk.clear();
    SetLogSink(&Collect);
  }
  void TearDown() override { SetLogSink(nullptr); }
};

TEST_F(LogSeamTest, ACaughtExceptionIsRecordedWithWhatItSaid) {
  try {
    throw std::runtime_error("device gone");
  } catch (...) {
    LogCaught("playing a text");
  }
  try {
    throw std::bad_alloc();
  } catch (...) {
    LogCaught("resampling");
  }
  try {
    throw 42;
  } catch (...) {
    LogCaught("odd");
  }
  ASSERT_EQ(sunk.size(), 3u);
  EXPECT_EQ(sunk[0].first, LogLevel::kError);
  EXPECT_EQ(sunk[0].second, "playing a text: exception: device gone");
  EXPECT_EQ(sunk[1].second, "resampling: out of memory");
  EXPECT_EQ(sunk[2].second, "odd: unknown exception");
}

TEST_F(LogSeamTest, WithoutASinkRecordsGoNowhere) {
  SetLogSink(nullptr);
  Log(LogLevel::kError, "nobody listens");
  try {
    throw std::runtime_error("x");
  } catch (...) {
    LogCaught("still fine");
  }
  EXPECT_TRUE(sunk.empty());
}

TEST(StartRecordTest, NamesTheEnabledLanguagesAndTheCurrentOne) {
  AppSettings settings;
  settings.languageEnabled = {true, false, true, false};
  settings.language = kEnglish;
  EXPECT_EQ(LanguagesRecord(settings), "languages Japanese, English; current English");
  settings.languageEnabled = {};
  settings.language = 7;  // what a damaged registry may hold
  EXPECT_EQ(LanguagesRecord(settings), "languages none; current 7");
}

}  // namespace
}  // namespace ostrel
