// The engine's speed and pitch (percent of the voice's normal) in each synthesiser's own units.
#pragma once

namespace ostrel::orvatone {

// espeak-ng's -s: words per minute, 175 normal, 80 to 450.
int EspeakWordsPerMinute(int speedPercent);
// espeak-ng's -p: 0 to 99, 50 normal; its fundamental frequency doubles about every 64 steps,
// so the range reaches from about 0.58 to 1.7 times the normal pitch.
int EspeakPitch(int pitchPercent);
// SAPI's rate: -10 to 10, each step about 3^(1/10) times faster.
int SapiRate(int speedPercent);
// SAPI's <pitch absmiddle>: -10 to 10, taken as semitones.
int SapiPitch(int pitchPercent);

}  // namespace ostrel::orvatone
