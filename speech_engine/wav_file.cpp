#include "wav_file.h"

#include <cstddef>
#include <cstdint>

namespace ostrel::orvatone {

namespace {

std::uint32_t Read32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::uint16_t Read16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

}  // namespace

std::optional<Pcm> ParseWav(std::string_view bytes) {
  if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") return std::nullopt;
  std::uint16_t channels = 0;
  std::uint32_t rate = 0;
  bool haveFormat = false;
  std::size_t at = 12;
  while (bytes.size() - at >= 8) {
    const std::string_view id = bytes.substr(at, 4);
    const std::uint32_t size = Read32(bytes, at + 4);
    const std::size_t body = at + 8;
    const std::size_t available = bytes.size() - body;
    if (id == "fmt ") {
      if (size < 16 || available < 16) return std::nullopt;
      const std::uint16_t format = Read16(bytes, body);
      channels = Read16(bytes, body + 2);
      rate = Read32(bytes, body + 4);
      const std::uint16_t bits = Read16(bytes, body + 14);
      if ((format != kFormatPcm && format != kFormatExtensible) || bits != 16 || channels == 0 || rate == 0 ||
          rate > 384000) {
        return std::nullopt;
      }
      haveFormat = true;
    } else if (id == "data") {
      if (!haveFormat) return std::nullopt;
      const std::size_t length = size < available ? size : available;
      const std::size_t frameBytes = std::size_t{2} * channels;
      Pcm pcm;
      pcm.sampleRate = static_cast<int>(rate);
      pcm.samples.reserve(length / frameBytes);
      for (std::size_t frame = body; frame + frameBytes <= body + length; frame += frameBytes) {
        std::int64_t sum = 0;
        for (std::size_t channel = 0; channel < channels; ++channel) {
          sum += static_cast<std::int16_t>(Read16(bytes, frame + 2 * channel));
        }
        pcm.samples.push_back(static_cast<std::int16_t>(sum / channels));
      }
      return pcm;
    }
    if (size > available) return std::nullopt;
    at = body + size + (size & 1);  // chunks are padded to an even length
    if (at > bytes.size()) return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace ostrel::orvatone
