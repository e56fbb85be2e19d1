// libFuzzer target: whatever a synthesiser process leaves in its WAV file.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "wav_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto pcm = ostrel::orvatone::ParseWav(bytes);
  // Two bytes a sample at the least: nothing is made up.
  if (pcm && (pcm->sampleRate <= 0 || pcm->samples.size() * 2 > size)) std::abort();
  return 0;
}
