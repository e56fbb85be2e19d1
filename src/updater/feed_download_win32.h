#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

#include "updater/update_check.h"
#include "updater/update_feed.h"

namespace ostrel::updater {

struct DownloadLimits {
  unsigned stepMilliseconds = 5000;    // each of name lookup, connection, sending, each wait for data
  unsigned totalMilliseconds = 20000;  // a server that trickles bytes ends here
  size_t maxBytes = 64 * 1024;
};

// The address in the pieces WinHttpCrackUrl finds, unescaped as written; nothing when it
// cannot split it.
std::optional<AddressPieces> SplitWebAddress(std::u16string_view address);

// One GET of exactly this address with WinHTTP: no redirect is followed (a redirect would take
// the updater elsewhere), no proxy is used for the loopback, status 200 only.
FetchResult DownloadFeed(const WebAddress& address, const DownloadLimits& limits = {});

}  // namespace ostrel::updater
