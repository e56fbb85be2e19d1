// Prints the test voice's records found in a recording: one line per record.
//   test_voice_decode FILE RATE    FILE holds raw signed 16-bit little-endian mono samples
// Ends with status 1 when no record was found.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "voice_signal.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: test_voice_decode FILE RATE\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const int rate = std::atoi(argv[2]);
  if (!file || rate < testvoice::kMinRate) {
    std::fprintf(stderr, "test_voice_decode: cannot read %s at %s Hz\n", argv[1], argv[2]);
    return 2;
  }
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::int16_t> samples(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                           static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  const std::vector<testvoice::Record> records = testvoice::Decode(samples, rate);
  for (const testvoice::Record& record : records) std::printf("%s\n", testvoice::Describe(record).c_str());
  return records.empty() ? 1 : 0;
}
