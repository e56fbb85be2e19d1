#pragma once
#include <cstddef>

#include "updater/update_check.h"
#include "updater/update_feed.h"

namespace ostrel::updater {

struct DownloadLimits {
  unsigned stepMilliseconds = 5000;    // each of name lookup, connection, sending, each wait for data
  unsigned totalMilliseconds = 20000;  // a server that trickles bytes ends here
  size_t maxBytes = 64 * 1024;
};

// One GET of exactly this address with WinHTTP: no redirect is followed (a redirect would take
// the updater elsewhere), no proxy is used for the loopback, status 200 only.
FetchResult DownloadFeed(const WebAddress& address, const DownloadLimits& limits = {});

}  // namespace ostrel::updater
