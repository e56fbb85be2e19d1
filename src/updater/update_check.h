#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "updater/update_feed.h"

namespace ostrel::updater {

// "-updchk" (the toolbar at its start): silent unless there is an update to offer.
// Without it a person started the check and is told how it ended.
enum class CheckMode { kAtStartUp, kByHand };

CheckMode ModeFromArguments(const std::vector<std::u16string>& arguments);

struct FetchResult {
  enum class Kind { kOk, kUnreachable, kHttpStatus, kTooLarge };
  Kind kind = Kind::kUnreachable;
  uint32_t code = 0;  // the system's error when unreachable, the status otherwise
  std::string body;
};

enum class Notice { kInformation, kWarning };

// What the check needs of the platform.
class UpdateHost {
 public:
  virtual ~UpdateHost() = default;
  virtual std::optional<std::u16string> FeedAddress() = 0;
  // The system's own split of an address (nothing when it cannot split it), so that the check
  // judges what will be contacted.
  virtual std::optional<AddressPieces> SplitAddress(std::u16string_view address) = 0;
  virtual FetchResult Fetch(const WebAddress& address) = 0;
  virtual bool AskYesNo(const std::u16string& text) = 0;
  virtual void Tell(const std::u16string& text, Notice notice) = 0;
  virtual bool OpenPage(const std::u16string& address) = 0;
  // Called exactly once per check: the outcome, UTF-8, one line without its time stamp.
  virtual void Log(const std::string& line) = 0;
};

enum class Outcome {
  kNoFeedAddress,
  kAddressRefused,
  kUnreachable,
  kHttpError,
  kTooLarge,
  kMalformed,
  kUpToDate,
  kDeclined,
  kOpened,
  kOpenFailed,
};

// The whole check. It never downloads or runs anything: the most it does is open the feed's
// download page in the browser, and only after the user said yes.
Outcome RunUpdateCheck(UpdateHost& host, CheckMode mode, std::u16string_view programVersion);

// The feed's notes as the offer shows them: line breaks kept, other control characters
// dropped, cut to a length a message box can show.
std::u16string NotesForDisplay(std::u16string_view notes);

// UTF-8 for the log, on one line: control characters become '?', lone surrogates U+FFFD.
std::string LogText(std::u16string_view text);

}  // namespace ostrel::updater
