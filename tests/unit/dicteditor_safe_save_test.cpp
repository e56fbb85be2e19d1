#include "dicteditor/safe_save.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace ostrel::dicteditor {
namespace {

constexpr uint32_t kDiskFull = 112;
constexpr uint32_t kAccessDenied = 5;

// Files in memory; `failAt` makes one step fail the way a disk does.
class FakeFiles final : public SaveFileSystem {
 public:
  enum class Fault { kNone, kCreate, kHalfWritten, kReplace, kReplaceAndRemove };

  uint32_t WriteWholeFile(const std::u16string& path, std::string_view bytes) override {
    if (fault == Fault::kCreate) return kAccessDenied;
    if (fault == Fault::kHalfWritten) {
      files[path] = std::string(bytes.substr(0, bytes.size() / 2));
      return kDiskFull;
    }
    files[path] = std::string(bytes);
    return 0;
  }
  uint32_t ReplaceWith(const std::u16string& target, const std::u16string& replacement) override {
    if (fault == Fault::kReplace || fault == Fault::kReplaceAndRemove) return kAccessDenied;
    files[target] = files.at(replacement);
    files.erase(replacement);
    return 0;
  }
  void Remove(const std::u16string& path) override {
    if (fault != Fault::kReplaceAndRemove) files.erase(path);
  }

  std::map<std::u16string, std::string> files;
  Fault fault = Fault::kNone;
};

const std::u16string kTarget = u"C:\\dic\\user.csv";

TEST(SaveReplacing, ReplacesTheOldFileAndLeavesNothingBeside) {
  FakeFiles files;
  files.files[kTarget] = "old";
  EXPECT_TRUE(SaveReplacing(files, kTarget, "new content").Saved());
  EXPECT_EQ(files.files, (std::map<std::u16string, std::string>{{kTarget, "new content"}}));
}

TEST(SaveReplacing, MakesAFileThatWasNotThere) {
  FakeFiles files;
  EXPECT_TRUE(SaveReplacing(files, kTarget, "first").Saved());
  EXPECT_EQ(files.files, (std::map<std::u16string, std::string>{{kTarget, "first"}}));
}

TEST(SaveReplacing, AFailureAtAnyStepLeavesTheOldFileWhole) {
  struct Case {
    FakeFiles::Fault fault;
    SaveStep step;
    uint32_t error;
  };
  const Case cases[] = {
      {FakeFiles::Fault::kCreate, SaveStep::kWrite, kAccessDenied},
      {FakeFiles::Fault::kHalfWritten, SaveStep::kWrite, kDiskFull},
      {FakeFiles::Fault::kReplace, SaveStep::kReplace, kAccessDenied},
  };
  for (const Case& c : cases) {
    FakeFiles files;
    files.files[kTarget] = "old and whole";
    files.fault = c.fault;
    const SaveResult result = SaveReplacing(files, kTarget, "the new content");
    EXPECT_FALSE(result.Saved());
    EXPECT_EQ(result.failedAt, c.step);
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(files.files, (std::map<std::u16string, std::string>{{kTarget, "old and whole"}}));
  }
}

TEST(SaveReplacing, ALeftoverThatCannotBeRemovedIsNeverTheTarget) {
  FakeFiles files;
  files.files[kTarget] = "old";
  files.fault = FakeFiles::Fault::kReplaceAndRemove;
  EXPECT_EQ(SaveReplacing(files, kTarget, "new").failedAt, SaveStep::kReplace);
  EXPECT_EQ(files.files.at(kTarget), "old");
  EXPECT_EQ(files.files.at(SavingPathFor(kTarget)), "new");
}

}  // namespace
}  // namespace ostrel::dicteditor
