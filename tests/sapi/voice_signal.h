// The test voice's sound: what it was given, written as tones that a test reads back exactly from
// the rendered stream, or nearly always from a recording of the null sink.
//
// A record is a frame of 15 ms symbols (after 20 ms of silence): a 10 ms tone, then 5 ms of
// silence. Two start tones (4400 Hz) open the frame, then one tone per four bits (1000 + 200 *
// nibble Hz, high nibble first): type, payload length (16 bits), payload, CRC-16/CCITT of all
// that. Frequencies and
// timing are in hertz and milliseconds, not samples, so a resampled recording decodes as well as
// the stream at any rate from 16 kHz up; levels play no part, so the player's volume does not
// either. A fragment's record is followed by one low tone per character (pitch and length follow
// the fragment's pitch and rate, loudness its volume), so that the reading is heard and its
// length and pitch can be measured like a real voice's.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace testvoice {

enum class RecordType : std::uint8_t { kFragment = 'F', kAction = 'A' };

// Everything the voice was given for one text fragment, as it saw it.
struct FragmentRecord {
  std::uint16_t index = 0;  // fragments this voice object rendered before this one
  std::uint8_t action = 0;  // SPVSTATE::eAction
  std::int16_t siteRate = 0;     // ISpTTSEngineSite::GetRate
  std::uint16_t siteVolume = 0;  // ISpTTSEngineSite::GetVolume
  std::int16_t rateAdj = 0;      // SPVSTATE::RateAdj
  std::int16_t middleAdj = 0;    // SPVSTATE::PitchAdj.MiddleAdj
  std::uint16_t volume = 0;      // SPVSTATE::Volume
  std::int16_t emphAdj = 0;
  std::uint16_t langId = 0;
  std::uint16_t silenceMs = 0;
  std::uint32_t sourceOffset = 0;  // SPVTEXTFRAG::ulTextSrcOffset
  std::uint8_t actionsSeen = 0;    // SPVES_* bits GetActions returned since the last record
  std::u16string text;

  bool operator==(const FragmentRecord&) const = default;
};

// Real-time actions the voice saw while rendering (SPVES_ABORT, SPVES_SKIP, ...).
struct ActionRecord {
  std::uint16_t fragmentIndex = 0;
  std::uint8_t actions = 0;
  std::int32_t skipItems = 0;  // for SPVES_SKIP: what GetSkipInfo asked for

  bool operator==(const ActionRecord&) const = default;
};

struct Record {
  RecordType type = RecordType::kFragment;
  FragmentRecord fragment;  // when type is kFragment
  ActionRecord action;      // when type is kAction
};

inline constexpr int kToneMs = 10;
inline constexpr int kGapMs = 5;
inline constexpr double kStartHz = 4400;
inline constexpr double DataHz(int nibble) { return 1000.0 + 200.0 * nibble; }
inline constexpr int kMinRate = 16000;

// The frame of one record, at `rate` samples per second.
std::vector<std::int16_t> EncodeRecord(const Record& record, int rate);

// The audible part after a fragment's record: one tone per character, silence for spaces.
// `rate` is the effective speaking rate (-10..10, beyond clipped), `volume` 0..100 percent.
std::vector<std::int16_t> CharacterTones(std::u16string_view text, int rate, int middleAdj, int volume,
                                         int sampleRate);

// Every record whose frame arrived whole, in order; other sound between them is ignored.
std::vector<Record> Decode(std::span<const std::int16_t> samples, int rate);

// The fragments only, for tests that look at nothing else.
std::vector<FragmentRecord> Fragments(const std::vector<Record>& records);

// One line per record for a person reading a failure (UTF-8 text).
std::string Describe(const Record& record);

}  // namespace testvoice
