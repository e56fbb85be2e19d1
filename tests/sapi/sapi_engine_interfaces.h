// The engine side of SAPI 5 (what a voice implements and what calls it), which the cross
// compiler's headers leave out, and the SAPI identifiers that none of its import libraries define.
// Laid out as Microsoft documents them; a voice built against this also loads on Windows.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <sapi.h>

namespace sapiids {

inline constexpr GUID kWaveFormatExFormatId = {0xC31ADBAE, 0x527F, 0x4FF5, {0xA2, 0x30, 0xF6, 0x2B, 0xB6, 0x1F, 0xF7, 0x0C}};
inline constexpr IID kISpTTSEngine = {0xA74D7C8E, 0x4CC5, 0x4F2F, {0xA6, 0xEB, 0x80, 0x4D, 0xEE, 0x18, 0x50, 0x0E}};
inline constexpr IID kISpTTSEngineSite = {0x9880499B, 0xCCE9, 0x11D2, {0xB5, 0x03, 0x00, 0xC0, 0x4F, 0x79, 0x73, 0x96}};

// SAPI's own failures (FACILITY_ITF), as its error header documents them.
inline constexpr HRESULT kSpErrUninitialized = static_cast<HRESULT>(0x80045001);
inline constexpr HRESULT kSpErrUnsupportedFormat = static_cast<HRESULT>(0x80045003);
inline constexpr HRESULT kSpErrInvalidFlags = static_cast<HRESULT>(0x80045004);
inline constexpr HRESULT kSpErrNotFound = static_cast<HRESULT>(0x8004503A);

}  // namespace sapiids

enum SPVSKIPTYPE { SPVST_SENTENCE = 1 };

enum SPVESACTIONS { SPVES_CONTINUE = 0, SPVES_ABORT = 1, SPVES_SKIP = 2, SPVES_RATE = 4, SPVES_VOLUME = 8 };

struct SPVTEXTFRAG {
  SPVTEXTFRAG* pNext;
  SPVSTATE State;
  LPCWSTR pTextStart;
  ULONG ulTextLen;
  ULONG ulTextSrcOffset;
};

struct ISpTTSEngineSite : public ISpEventSink {
  virtual DWORD STDMETHODCALLTYPE GetActions() = 0;
  virtual HRESULT STDMETHODCALLTYPE Write(const void* pBuff, ULONG cb, ULONG* pcbWritten) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRate(long* pRateAdjust) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVolume(USHORT* pusVolume) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSkipInfo(SPVSKIPTYPE* peType, long* plNumItems) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompleteSkip(long ulNumSkipped) = 0;
};

struct ISpTTSEngine : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Speak(DWORD dwSpeakFlags, REFGUID rguidFormatId,
                                          const WAVEFORMATEX* pWaveFormatEx, const SPVTEXTFRAG* pTextFragList,
                                          ISpTTSEngineSite* pOutputSite) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputFormat(const GUID* pTargetFmtId,
                                                    const WAVEFORMATEX* pTargetWaveFormatEx,
                                                    GUID* pOutputFormatId,
                                                    WAVEFORMATEX** ppCoMemOutputWaveFormatEx) = 0;
};
