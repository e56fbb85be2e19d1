#include "reading/clipboard_keeping.h"

#include <gtest/gtest.h>

#include <vector>

namespace ostrel {
namespace {

constexpr uint32_t kText = 13;
constexpr uint32_t kLocale = 16;
constexpr uint32_t kDibV5 = 17;
constexpr uint32_t kFileList = 15;
constexpr uint32_t kRegistered = 0xC123;
constexpr size_t kMiB = size_t{1} << 20;

TEST(ReadingClipboardKeepingTest, OnlyFormatsHeldInGlobalMemoryCanBeKept) {
  struct Row {
    uint32_t format;
    bool memory;
  };
  const std::vector<Row> rows = {
      {kText, true},       {clipboard_format::kDib, true}, {kDibV5, true},  {kFileList, true},
      {kLocale, true},     {kRegistered, true},            {0x81, true},    {0x200, true},  // text for display; private memory
      {0x2FF, true},       {0x400, true},
      {clipboard_format::kBitmap, false},                  {clipboard_format::kPalette, false},
      {clipboard_format::kMetafilePicture, false},         {clipboard_format::kEnhancedMetafile, false},
      {clipboard_format::kOwnerDisplay, false},            {clipboard_format::kDisplayBitmap, false},
      {clipboard_format::kDisplayMetafilePicture, false},  {clipboard_format::kDisplayEnhancedMetafile, false},
      {0x300, false},      {0x3A0, false},                 {0x3FF, false},  {0, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.format);
    EXPECT_EQ(IsMemoryFormat(row.format), row.memory);
  }
}

TEST(ReadingClipboardKeepingTest, FormatsAreKeptInOrderUntilTheLimitIsReached) {
  struct Row {
    const char* name;
    std::vector<OfferedFormat> offered;
    size_t limit;
    std::vector<uint32_t> kept;
  };
  const std::vector<Row> rows = {
      {"everything fits", {{kText, 20}, {kLocale, 4}, {kRegistered, 16}}, kKeptClipboardLimit,
       {kText, kLocale, kRegistered}},
      {"a picture too large is left out, the small formats after it are kept",
       {{kText, 20}, {clipboard_format::kDib, 70 * kMiB}, {kRegistered, 16}}, kKeptClipboardLimit,
       {kText, kRegistered}},
      {"what fits exactly is kept", {{kText, 40}, {kRegistered, 60}}, 100, {kText, kRegistered}},
      {"the sizes add up", {{kText, 40}, {kRegistered, 61}, {kLocale, 60}}, 100, {kText, kLocale}},
      {"the bitmap handle goes, its DIB stays",
       {{clipboard_format::kBitmap, 0}, {clipboard_format::kDib, 1064}, {kDibV5, 1148}}, kKeptClipboardLimit,
       {clipboard_format::kDib, kDibV5}},
      {"data that cannot be had is left out", {{kText, std::nullopt}, {kRegistered, 8}}, kKeptClipboardLimit,
       {kRegistered}},
      {"handles are left out whatever their size", {{clipboard_format::kEnhancedMetafile, 8}, {0x300, 8}},
       kKeptClipboardLimit, {}},
      {"an empty clipboard keeps nothing", {}, kKeptClipboardLimit, {}},
      {"the limit is 64 MiB in all", {{clipboard_format::kDib, 40 * kMiB}, {kDibV5, 40 * kMiB}, {kText, 24 * kMiB}},
       kKeptClipboardLimit, {clipboard_format::kDib, kText}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(FormatsToKeep(row.offered, row.limit), row.kept);
  }
}

using AtCapture = ClipboardKeeping::AtCapture;

// The clipboard's sequence number after our own emptying is 7 in these rows.
TEST(ReadingClipboardKeepingTest, AtACaptureAnEarlierClipboardStaysTheOneToKeepWhileNobodyCopied) {
  struct Row {
    const char* name;
    bool earlierPending;
    uint32_t sequenceNow;
    bool option;
    AtCapture decision;
    bool pendingAfter;
  };
  const std::vector<Row> rows = {
      {"first capture with the option", false, 3, true, AtCapture::kKeepNow, false},
      {"first capture without it", false, 3, false, AtCapture::kKeepNothing, false},
      {"the last capture's application never copied", true, 7, true, AtCapture::kKeepEarlier, true},
      {"... even with the option now off", true, 7, false, AtCapture::kKeepEarlier, true},
      {"someone copied since: that is the user's clipboard now", true, 9, true, AtCapture::kKeepNow, false},
      {"... and without the option it is left alone", true, 9, false, AtCapture::kKeepNothing, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ClipboardKeeping keeping;
    if (row.earlierPending) keeping.AfterOwnChange(7);
    EXPECT_EQ(keeping.BeforeClearing(row.option, row.sequenceNow), row.decision);
    EXPECT_EQ(keeping.Pending(), row.pendingAfter);
  }
}

TEST(ReadingClipboardKeepingTest, TheClipboardGoesBackOnlyIfNobodyChangedItSinceOurOwnChange) {
  struct Row {
    const char* name;
    bool pending;
    uint32_t sequenceNow;
    bool putBack;
  };
  const std::vector<Row> rows = {
      {"the text was taken, or the application never copied, and nobody copied since", true, 7, true},
      {"another program copied meanwhile", true, 8, false},
      {"nothing kept", false, 7, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ClipboardKeeping keeping;
    if (row.pending) keeping.AfterOwnChange(7);
    EXPECT_EQ(keeping.PutBack(row.sequenceNow), row.putBack);
    EXPECT_FALSE(keeping.Pending()) << "kept after the decision";
  }
}

}  // namespace
}  // namespace ostrel
