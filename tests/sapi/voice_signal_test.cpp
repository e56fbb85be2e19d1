// The test voice's signal: read back exactly from the stream, and still read after what the way
// to a recording does to it (other rates, level, noise, a shifted start).
#include "voice_signal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace testvoice {
namespace {

Record SomeFragment() {
  Record record;
  record.fragment = {7, 4, -3, 80, 10, -10, 40, 1, 0x411, 250, 123456, 0x0C, u"今日は <晴れ> 😀"};
  return record;
}

Record SomeAction() {
  Record record;
  record.type = RecordType::kAction;
  record.action = {3, 1, -2};
  return record;
}

std::vector<std::int16_t> Stream(int rate) {
  std::vector<std::int16_t> samples = EncodeRecord(SomeFragment(), rate);
  const std::vector<std::int16_t> tones = CharacterTones(u"今日 は", 5, -4, 60, rate);
  samples.insert(samples.end(), tones.begin(), tones.end());
  const std::vector<std::int16_t> action = EncodeRecord(SomeAction(), rate);
  samples.insert(samples.end(), action.begin(), action.end());
  return samples;
}

void ExpectBoth(const std::vector<Record>& records) {
  ASSERT_EQ(2u, records.size());
  EXPECT_EQ(RecordType::kFragment, records[0].type);
  EXPECT_EQ(SomeFragment().fragment, records[0].fragment);
  EXPECT_EQ(RecordType::kAction, records[1].type);
  EXPECT_EQ(SomeAction().action, records[1].action);
}

std::vector<std::int16_t> Resampled(const std::vector<std::int16_t>& in, int from, int to) {
  std::vector<std::int16_t> out(static_cast<std::size_t>(static_cast<double>(in.size()) * to / from));
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double at = static_cast<double>(i) * from / to;
    const std::size_t k = static_cast<std::size_t>(at);
    const double next = k + 1 < in.size() ? in[k + 1] : 0;
    out[i] = static_cast<std::int16_t>(std::lround(in[k] + (at - static_cast<double>(k)) * (next - in[k])));
  }
  return out;
}

TEST(VoiceSignal, ReadsBackExactlyAtEveryRateAVoiceWrites) {
  for (const int rate : {16000, 22050, 44100, 48000}) {
    SCOPED_TRACE(rate);
    ExpectBoth(Decode(Stream(rate), rate));
  }
}

TEST(VoiceSignal, SurvivesTheWayThroughThePlayerAndTheNullSink) {
  // The player scales it, the sound server plays it at 44.1 kHz, the recorder takes 22.05 kHz,
  // with some noise and from some point before the sound.
  std::vector<std::int16_t> played = Stream(22050);
  for (std::int16_t& sample : played) sample = static_cast<std::int16_t>(sample / 8);
  std::vector<std::int16_t> recorded = Resampled(Resampled(played, 22050, 44100), 44100, 22050);
  std::mt19937 random(5);
  std::uniform_int_distribution<int> noise(-150, 150);
  for (std::int16_t& sample : recorded) sample = static_cast<std::int16_t>(sample + noise(random));
  recorded.insert(recorded.begin(), 1237, 0);
  ExpectBoth(Decode(recorded, 22050));
  ExpectBoth(Decode(Resampled(Stream(16000), 16000, 48000), 48000));
}

TEST(VoiceSignal, ADamagedFrameIsDroppedAndTheNextStillRead) {
  std::vector<std::int16_t> samples = Stream(22050);
  // One symbol of the first frame replaced by another tone: its check fails.
  const std::size_t symbol = static_cast<std::size_t>(22050 * (20 + 15 * 9) / 1000) + 20;
  for (std::size_t i = 0; i < 150; ++i) {
    samples[symbol + i] = static_cast<std::int16_t>(16000 * std::sin(2 * 3.14159265 * DataHz(15) * i / 22050));
  }
  const std::vector<Record> records = Decode(samples, 22050);
  ASSERT_EQ(1u, records.size());
  EXPECT_EQ(RecordType::kAction, records[0].type);
  // A frame cut short, with another right after it, costs only itself.
  std::vector<std::int16_t> cut = EncodeRecord(SomeFragment(), 22050);
  cut.resize(cut.size() / 2);
  const std::vector<std::int16_t> whole = EncodeRecord(SomeAction(), 22050);
  cut.insert(cut.end(), whole.begin(), whole.end());
  EXPECT_EQ(1u, Decode(cut, 22050).size());
}

TEST(VoiceSignal, CharacterTonesAreHeardButNeverReadAsRecords) {
  const std::vector<std::int16_t> normal = CharacterTones(u"あいう", 0, 0, 100, 22050);
  const std::vector<std::int16_t> fast = CharacterTones(u"あいう", 10, 0, 100, 22050);
  EXPECT_NEAR(3 * 0.120, normal.size() / 22050.0, 0.002);
  EXPECT_NEAR(normal.size() / 3.0, static_cast<double>(fast.size()), 3);
  EXPECT_TRUE(Decode(normal, 22050).empty());
  EXPECT_TRUE(Decode(fast, 22050).empty());
  EXPECT_TRUE(Decode(std::vector<std::int16_t>(5000, 0), 22050).empty());
  // A character beyond the BMP sounds once.
  EXPECT_EQ(CharacterTones(u"a", 0, 0, 100, 22050).size(), CharacterTones(u"😀", 0, 0, 100, 22050).size());
}

}  // namespace
}  // namespace testvoice
