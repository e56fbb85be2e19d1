#include "reading/text_encoder_win32.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/library_loading_win32.h"
#include "platform/log_win32.h"
#include "platform/module_path_win32.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "reading/reading_texts.h"

namespace ostrel {
namespace {

int EncodedLength(const wchar_t* source, size_t length, UINT codePage) {
  if (length == 0) return 0;
  return WideCharToMultiByte(codePage, 0, source, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

Win32TextEncoder::Win32TextEncoder() : converterPath_(WideView(ModuleDirectory() + u"Hanvert.dll")) {}

Win32TextEncoder::Win32TextEncoder(std::wstring converterPath) : converterPath_(std::move(converterPath)) {}

std::string Win32TextEncoder::Encode(std::u16string_view text, uint32_t codePage, size_t limit) {
  text = text.substr(0, std::min<size_t>(text.size(), INT_MAX));
  limit = std::min<size_t>(limit, INT_MAX);
  const wchar_t* source = Wide(text.data());

  // Into a buffer that is too small WideCharToMultiByte writes a partial result, possibly
  // half a double-byte character, and fails; so find the longest run of whole characters
  // that fits and convert only that. The code pages here are stateless, so the bytes of a
  // prefix are a prefix of the bytes.
  size_t units = text.size();
  int needed = EncodedLength(source, units, codePage);
  if (needed < 0 || static_cast<size_t>(needed) > limit) {
    size_t fits = 0;
    size_t tooLong = units;
    while (tooLong - fits > 1) {
      const size_t middle = fits + (tooLong - fits) / 2;
      const int length = EncodedLength(source, middle, codePage);
      if (length > 0 && static_cast<size_t>(length) <= limit) {
        fits = middle;
      } else {
        tooLong = middle;
      }
    }
    units = fits;
    if (units > 0 && IsHighSurrogate(text[units - 1]) && units < text.size() && IsLowSurrogate(text[units])) {
      --units;
    }
    needed = EncodedLength(source, units, codePage);
  }
  if (needed <= 0) return {};

  std::string bytes(static_cast<size_t>(needed), '\0');
  const int written =
      WideCharToMultiByte(codePage, 0, source, static_cast<int>(units), bytes.data(), needed, nullptr, nullptr);
  bytes.resize(static_cast<size_t>(std::max(written, 0)));
  return bytes;
}

void Win32TextEncoder::TraditionalToSimplified(std::u16string& text) {
  if (!LoadConverter()) return;
  // The library stops at a zero; convert each zero-separated run so nothing after an
  // embedded zero is lost, and never let a run grow.
  std::u16string result;
  result.reserve(text.size());
  size_t start = 0;
  for (;;) {
    const size_t stop = std::min(text.find(u'\0', start), text.size());
    std::u16string run = text.substr(start, stop - start);
    fanTiToJianTi_(reinterpret_cast<wchar_t*>(run.data()));
    run.resize(std::min(run.size(), std::u16string_view(run.c_str()).size()));
    result += run;
    if (stop == text.size()) break;
    result += u'\0';
    start = stop + 1;
  }
  text = std::move(result);
}

bool Win32TextEncoder::LoadConverter() {
  if (loadTried_) return fanTiToJianTi_ != nullptr;
  loadTried_ = true;
  converter_.reset(LoadProgramLibrary(converterPath_));
  if (converter_) {
    fanTiToJianTi_ = reinterpret_cast<FanTiToJianTiFn>(
        reinterpret_cast<void*>(GetProcAddress(converter_.get(), "FanTiToJianTi")));
  }
  if (!fanTiToJianTi_) {
    log::Failed("loading FanTiToJianTi from Hanvert.dll", GetLastError());
    converter_.reset();
    // Said once: the reading goes on with the traditional characters as they are.
    ShowMessageBox(nullptr, Wide(texts::kConverterMissing), Wide(texts::kReadingCaption),
                   MB_OK | MB_TOPMOST | MB_ICONWARNING);
  }
  return fanTiToJianTi_ != nullptr;
}

}  // namespace ostrel
