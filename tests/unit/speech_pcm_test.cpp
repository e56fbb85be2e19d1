#include "pcm.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

namespace ostrel::orvatone {
namespace {

using Samples = std::vector<std::int16_t>;

Samples Repeat(std::size_t count, std::int16_t value) { return Samples(count, value); }
Samples Join(std::initializer_list<Samples> parts) {
  Samples joined;
  for (const auto& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

TEST(PcmTrimSilenceTest, DropsQuietEdgesButKeepsAMarginAroundTheSpeech) {
  // At 1000 Hz the margin is 10 samples.
  struct Case {
    const char* name;
    Samples in;
    Samples out;
  };
  const Samples speech = {5000, -4000, 0, 12, -6000};
  const Case cases[] = {
      {"quiet edges", Join({Repeat(100, 30), speech, Repeat(100, -30)}), Join({Repeat(10, 30), speech, Repeat(10, -30)})},
      {"edges shorter than the margin", Join({Repeat(4, 0), speech, Repeat(3, 0)}), Join({Repeat(4, 0), speech, Repeat(3, 0)})},
      {"no edges", speech, speech},
      {"all silent", Repeat(500, 200), {}},
      {"threshold itself is silence", Repeat(50, -327), {}},
      {"full-scale negative counts as sound", Join({Repeat(20, 0), Samples{INT16_MIN}}), Join({Repeat(10, 0), Samples{INT16_MIN}})},
      {"empty", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Pcm pcm{1000, c.in};
    TrimSilence(pcm);
    EXPECT_EQ(pcm.samples, c.out);
    EXPECT_EQ(pcm.sampleRate, 1000);
  }
}

TEST(PcmTrimSilenceTest, WithoutARateTrimsToTheSpeechItself) {
  Pcm pcm{0, Join({Repeat(5, 0), Samples{1000}, Repeat(5, 0)})};
  TrimSilence(pcm);
  EXPECT_EQ(pcm.samples, Samples{1000});
}

TEST(PcmApplyVolumeTest, ScalesAndSaturates) {
  struct Case {
    int volume;
    Samples out;
  };
  const Samples in = {0, 1000, -1000, 20000, -20000, INT16_MAX, INT16_MIN};
  const Case cases[] = {
      {100, in},
      {50, {0, 500, -500, 10000, -10000, 16383, -16384}},
      {0, Samples(in.size(), 0)},
      {-40, Samples(in.size(), 0)},
      {200, {0, 2000, -2000, INT16_MAX, INT16_MIN, INT16_MAX, INT16_MIN}},
      {500, {0, 5000, -5000, INT16_MAX, INT16_MIN, INT16_MAX, INT16_MIN}},
      {INT_MAX, {0, INT16_MAX, INT16_MIN, INT16_MAX, INT16_MIN, INT16_MAX, INT16_MIN}},
      {INT_MIN, Samples(in.size(), 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volume);
    Samples samples = in;
    ApplyVolume(samples, c.volume);
    EXPECT_EQ(samples, c.out);
  }
}

TEST(PcmResampleTest, InterpolatesBetweenNeighbours) {
  Pcm up{1000, {0, 100, 200}};
  Resample(up, 2000);
  EXPECT_EQ(up.sampleRate, 2000);
  EXPECT_EQ(up.samples, (Samples{0, 50, 100, 150, 200, 200}));

  Pcm down{2000, {0, 50, 100, 150, 200, 250}};
  Resample(down, 1000);
  EXPECT_EQ(down.sampleRate, 1000);
  EXPECT_EQ(down.samples, (Samples{0, 100, 200}));

  Pcm odd{22050, Samples(22050, 700)};
  Resample(odd, 16000);
  EXPECT_EQ(odd.samples, Samples(16000, 700));
}

TEST(PcmResampleTest, LeavesAnUnusableRateAlone) {
  for (const auto& [from, to] : {std::pair{0, 1000}, std::pair{1000, 0}, std::pair{-5, 1000}, std::pair{1000, 1000}}) {
    Pcm pcm{from, {1, 2, 3}};
    Resample(pcm, to);
    EXPECT_EQ(pcm.sampleRate, from);
    EXPECT_EQ(pcm.samples, (Samples{1, 2, 3}));
  }
}

}  // namespace
}  // namespace ostrel::orvatone
