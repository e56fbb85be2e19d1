#include "reading/copy_keys.h"

#include <gtest/gtest.h>

#include <vector>

namespace ostrel {
namespace {

using Kind = KeyStep::Kind;

// Ten rounds of letting messages run with 100 ms of sleep, then left Ctrl + the key.
std::vector<KeyStep> Chord(char key) {
  std::vector<KeyStep> steps;
  for (int round = 0; round < 10; ++round) {
    steps.push_back({Kind::kDispatchMessages, 0});
    steps.push_back({Kind::kSleep, 100});
  }
  steps.push_back({Kind::kControlChord, key});
  return steps;
}

TEST(ReadingCopyKeysTest, SelectionIsCopiedAndWholeTextSelectedAllFirst) {
  EXPECT_EQ(CopyKeySteps(CopyKeys::kCopy), Chord('C'));
  std::vector<KeyStep> selectAllAndCopy = Chord('A');
  const std::vector<KeyStep> copy = Chord('C');
  selectAllAndCopy.insert(selectAllAndCopy.end(), copy.begin(), copy.end());
  EXPECT_EQ(CopyKeySteps(CopyKeys::kSelectAllAndCopy), selectAllAndCopy);
}

}  // namespace
}  // namespace ostrel
