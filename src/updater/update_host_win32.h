#pragma once
#include <string>

#include "updater/update_check.h"

namespace ostrel::updater {

// The check's platform: the machine-wide registry, WinHTTP, message boxes, the shell and the log.
class Win32UpdateHost final : public UpdateHost {
 public:
  std::optional<std::u16string> FeedAddress() override;
  std::optional<AddressPieces> SplitAddress(std::u16string_view address) override;
  FetchResult Fetch(const WebAddress& address) override;
  bool AskYesNo(const std::u16string& text) override;
  void Tell(const std::u16string& text, Notice notice) override;
  bool OpenPage(const std::u16string& address) override;
  void Log(const std::string& line) override;
};

}  // namespace ostrel::updater
