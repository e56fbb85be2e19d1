#include "voice_signal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace testvoice {

namespace {

constexpr double kDataAmplitude = 16000;
constexpr double kCharacterAmplitude = 12000;
constexpr int kStartSymbol = 16;
constexpr int kOtherSymbol = -1;
constexpr std::size_t kMaxPayload = 8192;
constexpr int kLeadMs = 20;

int Samples(int ms, int rate) { return static_cast<int>(static_cast<long long>(rate) * ms / 1000); }

// Soft edges keep a tone's energy at its own frequency, so a click never reads as a symbol.
void AppendTone(std::vector<std::int16_t>& out, double hz, int count, double amplitude, int rate) {
  const int ramp = std::max(1, rate / 1000);
  for (int i = 0; i < count; ++i) {
    double gain = 1.0;
    const int edge = std::min(i, count - 1 - i);
    if (edge < ramp) gain = 0.5 - 0.5 * std::cos(std::numbers::pi * edge / ramp);
    out.push_back(static_cast<std::int16_t>(
        std::lround(amplitude * gain * std::sin(2 * std::numbers::pi * hz * i / rate))));
  }
}

void AppendSilence(std::vector<std::int16_t>& out, int count) { out.insert(out.end(), static_cast<std::size_t>(count), 0); }

void AppendSymbol(std::vector<std::int16_t>& out, double hz, int rate) {
  AppendTone(out, hz, Samples(kToneMs, rate), kDataAmplitude, rate);
  AppendSilence(out, Samples(kGapMs, rate));
}

std::uint16_t Crc16(std::span<const std::uint8_t> bytes) {
  std::uint16_t crc = 0xFFFF;
  for (const std::uint8_t byte : bytes) {
    crc ^= static_cast<std::uint16_t>(byte << 8);
    for (int bit = 0; bit < 8; ++bit) crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
  }
  return crc;
}

class Writer {
 public:
  void U8(std::uint32_t v) { bytes.push_back(static_cast<std::uint8_t>(v)); }
  void U16(std::uint32_t v) { U8(v & 0xFF), U8((v >> 8) & 0xFF); }
  void U32(std::uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
  std::vector<std::uint8_t> bytes;
};

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint32_t U8() { return pos_ < bytes_.size() ? bytes_[pos_++] : (ok_ = false, 0u); }
  std::uint32_t U16() { const std::uint32_t low = U8(); return low | (U8() << 8); }
  std::uint32_t U32() { const std::uint32_t low = U16(); return low | (U16() << 16); }
  bool Whole() const { return ok_ && pos_ == bytes_.size(); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

std::vector<std::uint8_t> Payload(const Record& record) {
  Writer w;
  if (record.type == RecordType::kFragment) {
    const FragmentRecord& f = record.fragment;
    w.U16(f.index), w.U8(f.action), w.U16(static_cast<std::uint16_t>(f.siteRate)), w.U16(f.siteVolume);
    w.U16(static_cast<std::uint16_t>(f.rateAdj)), w.U16(static_cast<std::uint16_t>(f.middleAdj)), w.U16(f.volume);
    w.U16(static_cast<std::uint16_t>(f.emphAdj)), w.U16(f.langId), w.U16(f.silenceMs), w.U32(f.sourceOffset);
    w.U8(f.actionsSeen);
    const std::size_t length = std::min<std::size_t>(f.text.size(), (kMaxPayload - 32) / 2);
    w.U16(static_cast<std::uint32_t>(length));
    for (std::size_t i = 0; i < length; ++i) w.U16(f.text[i]);
  } else {
    const ActionRecord& a = record.action;
    w.U16(a.fragmentIndex), w.U8(a.actions), w.U32(static_cast<std::uint32_t>(a.skipItems));
  }
  return w.bytes;
}

std::optional<Record> ParsePayload(RecordType type, std::span<const std::uint8_t> bytes) {
  Reader r(bytes);
  Record record;
  record.type = type;
  if (type == RecordType::kFragment) {
    FragmentRecord& f = record.fragment;
    f.index = static_cast<std::uint16_t>(r.U16());
    f.action = static_cast<std::uint8_t>(r.U8());
    f.siteRate = static_cast<std::int16_t>(r.U16());
    f.siteVolume = static_cast<std::uint16_t>(r.U16());
    f.rateAdj = static_cast<std::int16_t>(r.U16());
    f.middleAdj = static_cast<std::int16_t>(r.U16());
    f.volume = static_cast<std::uint16_t>(r.U16());
    f.emphAdj = static_cast<std::int16_t>(r.U16());
    f.langId = static_cast<std::uint16_t>(r.U16());
    f.silenceMs = static_cast<std::uint16_t>(r.U16());
    f.sourceOffset = r.U32();
    f.actionsSeen = static_cast<std::uint8_t>(r.U8());
    const std::uint32_t length = r.U16();
    for (std::uint32_t i = 0; i < length; ++i) f.text.push_back(static_cast<char16_t>(r.U16()));
  } else if (type == RecordType::kAction) {
    ActionRecord& a = record.action;
    a.fragmentIndex = static_cast<std::uint16_t>(r.U16());
    a.actions = static_cast<std::uint8_t>(r.U8());
    a.skipItems = static_cast<std::int32_t>(r.U32());
  } else {
    return std::nullopt;
  }
  if (!r.Whole()) return std::nullopt;
  return record;
}

// Power of `hz` in the segment, relative to that of a pure tone with the segment's energy:
// close to 1 for the tone that is there, a few percent for a neighbour 200 Hz away.
double RelativePower(std::span<const std::int16_t> segment, double hz, int rate, double energy) {
  const double coefficient = 2 * std::cos(2 * std::numbers::pi * hz / rate);
  double s1 = 0, s2 = 0;
  for (const std::int16_t sample : segment) {
    const double s0 = sample + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
  return 2 * power / (static_cast<double>(segment.size()) * energy);
}

int Classify(std::span<const std::int16_t> segment, int rate) {
  double energy = 0;
  for (const std::int16_t sample : segment) energy += static_cast<double>(sample) * sample;
  if (segment.size() < 8 || energy <= 0) return kOtherSymbol;
  double best = 0, second = 0;
  int symbol = kOtherSymbol;
  for (int candidate = 0; candidate <= kStartSymbol; ++candidate) {
    const double hz = candidate == kStartSymbol ? kStartHz : DataHz(candidate);
    const double power = RelativePower(segment, hz, rate, energy);
    if (power > best) {
      second = best;
      best = power;
      symbol = candidate;
    } else {
      second = std::max(second, power);
    }
  }
  return best >= 0.5 && second <= 0.25 ? symbol : kOtherSymbol;
}

// The symbols of the tone bursts, in order; bursts of another length or sound are kOtherSymbol.
std::vector<int> Symbols(std::span<const std::int16_t> samples, int rate) {
  const std::size_t block = static_cast<std::size_t>(std::max(1, rate / 1000));
  std::vector<double> levels;
  double loudest = 0;
  for (std::size_t at = 0; at + block <= samples.size(); at += block) {
    double sum = 0;
    for (std::size_t i = at; i < at + block; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    levels.push_back(std::sqrt(sum / static_cast<double>(block)));
    loudest = std::max(loudest, levels.back());
  }
  std::vector<int> symbols;
  if (loudest <= 0) return symbols;
  const double threshold = 0.3 * loudest;
  for (std::size_t i = 0; i < levels.size();) {
    if (levels[i] < threshold) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < levels.size() && levels[end] >= threshold) ++end;
    const std::size_t blocks = end - i;
    if (blocks * 10 < static_cast<std::size_t>(kToneMs) * 6 || blocks * 10 > static_cast<std::size_t>(kToneMs) * 15) {
      symbols.push_back(kOtherSymbol);
    } else {
      const std::size_t from = i * block, to = end * block;
      const std::size_t margin = (to - from) * 15 / 100;
      symbols.push_back(Classify(samples.subspan(from + margin, to - from - 2 * margin), rate));
    }
    i = end;
  }
  return symbols;
}

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6)), out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12)), out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18)), out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F)), out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

std::vector<std::int16_t> EncodeRecord(const Record& record, int rate) {
  Writer frame;
  frame.U8(static_cast<std::uint8_t>(record.type));
  const std::vector<std::uint8_t> payload = Payload(record);
  frame.U16(static_cast<std::uint32_t>(payload.size()));
  frame.bytes.insert(frame.bytes.end(), payload.begin(), payload.end());
  frame.U16(Crc16(frame.bytes));

  // A frame starts in the clear even when it follows sound cut short (a voice stopped mid-tone).
  std::vector<std::int16_t> out(static_cast<std::size_t>(Samples(kLeadMs, rate)), 0);
  AppendSymbol(out, kStartHz, rate);
  AppendSymbol(out, kStartHz, rate);
  for (const std::uint8_t byte : frame.bytes) {
    AppendSymbol(out, DataHz(byte >> 4), rate);
    AppendSymbol(out, DataHz(byte & 0x0F), rate);
  }
  return out;
}

std::vector<std::int16_t> CharacterTones(std::u16string_view text, int rate, int middleAdj, int volume,
                                         int sampleRate) {
  const double speed = std::pow(3.0, std::clamp(rate, -10, 10) / 10.0);
  const double hz = 200 * std::pow(2.0, std::clamp(middleAdj, -10, 10) / 24.0);
  const int tone = static_cast<int>(sampleRate * 0.090 / speed);
  const int gap = static_cast<int>(sampleRate * 0.030 / speed);
  const double amplitude = kCharacterAmplitude * std::clamp(volume, 0, 100) / 100.0;
  std::vector<std::int16_t> out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xDC00 && c < 0xE000 && i > 0) continue;  // the second half of a character already sounded
    if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000') {
      AppendSilence(out, tone + gap);
    } else {
      AppendTone(out, hz, tone, amplitude, sampleRate);
      AppendSilence(out, gap);
    }
  }
  return out;
}

std::vector<Record> Decode(std::span<const std::int16_t> samples, int rate) {
  const std::vector<int> symbols = Symbols(samples, rate);
  std::vector<Record> records;
  const auto nibbleAt = [&](std::size_t i) { return i < symbols.size() && symbols[i] >= 0 && symbols[i] < 16; };
  for (std::size_t i = 0; i + 1 < symbols.size();) {
    if (symbols[i] != kStartSymbol || symbols[i + 1] != kStartSymbol) {
      ++i;
      continue;
    }
    std::size_t at = i + 2;
    while (at < symbols.size() && symbols[at] == kStartSymbol) ++at;  // a start tone read twice
    std::vector<std::uint8_t> bytes;
    const auto readByte = [&]() -> bool {
      if (!nibbleAt(at) || !nibbleAt(at + 1)) return false;
      bytes.push_back(static_cast<std::uint8_t>(symbols[at] << 4 | symbols[at + 1]));
      at += 2;
      return true;
    };
    bool whole = readByte() && readByte() && readByte();
    const std::size_t length = whole ? static_cast<std::size_t>(bytes[1] | bytes[2] << 8) : 0;
    whole = whole && length <= kMaxPayload;
    for (std::size_t k = 0; whole && k < length + 2; ++k) whole = readByte();
    std::optional<Record> record;
    if (whole) {
      const std::span<const std::uint8_t> all(bytes);
      const std::uint16_t crc = static_cast<std::uint16_t>(bytes[bytes.size() - 2] | bytes.back() << 8);
      if (Crc16(all.first(bytes.size() - 2)) == crc) {
        record = ParsePayload(static_cast<RecordType>(bytes[0]), all.subspan(3, length));
      }
    }
    if (record) {
      records.push_back(std::move(*record));
      i = at;
    } else {
      ++i;
    }
  }
  return records;
}

std::vector<FragmentRecord> Fragments(const std::vector<Record>& records) {
  std::vector<FragmentRecord> fragments;
  for (const Record& record : records) {
    if (record.type == RecordType::kFragment) fragments.push_back(record.fragment);
  }
  return fragments;
}

std::string Describe(const Record& record) {
  if (record.type == RecordType::kAction) {
    const ActionRecord& a = record.action;
    return "action after fragment " + std::to_string(a.fragmentIndex) + ": actions=" + std::to_string(a.actions) +
           " skip=" + std::to_string(a.skipItems);
  }
  const FragmentRecord& f = record.fragment;
  return "fragment " + std::to_string(f.index) + ": action=" + std::to_string(f.action) +
         " rate=" + std::to_string(f.siteRate) + "+" + std::to_string(f.rateAdj) +
         " pitch=" + std::to_string(f.middleAdj) + " volume=" + std::to_string(f.siteVolume) + "*" +
         std::to_string(f.volume) + " emph=" + std::to_string(f.emphAdj) + " lang=" + std::to_string(f.langId) +
         " silence=" + std::to_string(f.silenceMs) + " offset=" + std::to_string(f.sourceOffset) +
         " seen=" + std::to_string(f.actionsSeen) + " text=\"" + Utf8(f.text) + "\"";
}

}  // namespace testvoice
