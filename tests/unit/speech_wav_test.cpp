// The WAV files a synthesiser process leaves, and the speed and pitch in each synthesiser's units.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "prosody_mapping.h"
#include "wav_file.h"

namespace ostrel::orvatone {
namespace {

void Put16(std::string& bytes, std::uint16_t value) {
  bytes += static_cast<char>(value & 0xFF);
  bytes += static_cast<char>(value >> 8);
}
void Put32(std::string& bytes, std::uint32_t value) {
  Put16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
  Put16(bytes, static_cast<std::uint16_t>(value >> 16));
}

std::string Chunk(const char* id, const std::string& body) {
  std::string chunk(id, 4);
  Put32(chunk, static_cast<std::uint32_t>(body.size()));
  chunk += body;
  if (body.size() % 2 != 0) chunk += '\0';
  return chunk;
}

std::string Format(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits = 16, std::uint16_t tag = 1) {
  std::string body;
  Put16(body, tag);
  Put16(body, channels);
  Put32(body, rate);
  Put32(body, rate * channels * bits / 8);
  Put16(body, static_cast<std::uint16_t>(channels * bits / 8));
  Put16(body, bits);
  return Chunk("fmt ", body);
}

std::string Samples(const std::vector<std::int16_t>& samples) {
  std::string body;
  for (const std::int16_t sample : samples) Put16(body, static_cast<std::uint16_t>(sample));
  return body;
}

std::string Riff(const std::string& chunks) {
  std::string file = "RIFF";
  Put32(file, static_cast<std::uint32_t>(chunks.size() + 4));
  return file + "WAVE" + chunks;
}

TEST(WavFile, ReadsMonoAfterOtherChunksOfOddLength) {
  const auto pcm = ParseWav(Riff(Format(1, 22050) + Chunk("LIST", "abc") + Chunk("data", Samples({1, -2, 300}))));
  ASSERT_TRUE(pcm);
  EXPECT_EQ(pcm->sampleRate, 22050);
  EXPECT_EQ(pcm->samples, (std::vector<std::int16_t>{1, -2, 300}));
}

TEST(WavFile, MixesChannelsDownToMono) {
  const auto pcm = ParseWav(Riff(Format(2, 16000) + Chunk("data", Samples({100, 300, -32768, -32768}))));
  ASSERT_TRUE(pcm);
  EXPECT_EQ(pcm->samples, (std::vector<std::int16_t>{200, -32768}));
}

TEST(WavFile, ADataChunkLongerThanTheFileIsReadAsFarAsItGoes) {
  std::string data = "data";
  Put32(data, 0xFFFFFFFF);
  data += Samples({5, 6}) + "\x07";  // half a sample at the end
  const auto pcm = ParseWav(Riff(Format(1, 8000) + data));
  ASSERT_TRUE(pcm);
  EXPECT_EQ(pcm->samples, (std::vector<std::int16_t>{5, 6}));
}

TEST(WavFile, RefusesWhatIsNotSixteenBitPcm) {
  for (const std::string& bytes : {std::string(), std::string("RIFF"), Riff(Chunk("data", Samples({1}))),
                                   Riff(Format(1, 8000, 8) + Chunk("data", "ab")),
                                   Riff(Format(1, 8000, 16, 3) + Chunk("data", "ab")),
                                   Riff(Format(0, 8000) + Chunk("data", "ab")), Riff(Format(1, 0) + Chunk("data", "ab")),
                                   Riff(Format(1, 8000)), std::string("RIFX\0\0\0\0WAVE", 12)}) {
    EXPECT_FALSE(ParseWav(bytes)) << "bytes: " << bytes.size();
  }
}

TEST(ProsodyMapping, SpeedAndPitchInEachSynthesisersUnits) {
  struct Row {
    int percent, wordsPerMinute, espeakPitch, sapiRate, sapiPitch;
  };
  for (const Row& row : {Row{100, 175, 50, 0, 0}, Row{200, 350, 99, 6, 10}, Row{150, 263, 87, 4, 7},
                         Row{50, 88, 0, -6, -10}, Row{250, 438, 99, 8, 10}, Row{0, 175, 50, 0, 0},
                         Row{-40, 175, 50, 0, 0}, Row{100000, 450, 99, 10, 10}}) {
    EXPECT_EQ(EspeakWordsPerMinute(row.percent), row.wordsPerMinute) << row.percent;
    EXPECT_EQ(EspeakPitch(row.percent), row.espeakPitch) << row.percent;
    EXPECT_EQ(SapiRate(row.percent), row.sapiRate) << row.percent;
    EXPECT_EQ(SapiPitch(row.percent), row.sapiPitch) << row.percent;
  }
}

}  // namespace
}  // namespace ostrel::orvatone
