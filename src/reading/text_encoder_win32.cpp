#include "reading/text_encoder_win32.h"

#include <algorithm>
#include <utility>

#include "encoding/code_page_win32.h"
#include "platform/library_loading_win32.h"
#include "platform/log_win32.h"
#include "platform/module_path_win32.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "reading/reading_texts.h"

namespace ostrel {

Win32TextEncoder::Win32TextEncoder() : converterPath_(WideView(ModuleDirectory() + u"Hanvert.dll")) {}

Win32TextEncoder::Win32TextEncoder(std::wstring converterPath) : converterPath_(std::move(converterPath)) {}

std::string Win32TextEncoder::Encode(std::u16string_view text, uint32_t codePage, size_t limit) {
  return ToCodePage(text, codePage, limit);
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
