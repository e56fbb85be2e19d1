#include "updater/feed_download_win32.h"

#include <windows.h>

#include <winhttp.h>

#include "ostrel_release.h"
#include "platform/unique_handle_win32.h"
#include "platform/wide_win32.h"

namespace ostrel::updater {
namespace {

struct InternetTraits {
  using Handle = HINTERNET;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { WinHttpCloseHandle(h); }
};
using UniqueInternet = UniqueHandle<InternetTraits>;

FetchResult Failed(DWORD error) { return {FetchResult::Kind::kUnreachable, error, {}}; }

void AllowCurrentTls(HINTERNET session) {
  DWORD protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3;
  // Windows before 11 refuses the TLS 1.3 flag; Windows 7 offers only TLS 1.0 unless asked.
  if (!WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols)) {
    protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
    WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols);
  }
}

std::u16string Piece(const wchar_t* start, DWORD length) {
  return start == nullptr ? std::u16string() : FromWide(start, length);
}

}  // namespace

std::optional<AddressPieces> SplitWebAddress(std::u16string_view address) {
  const std::wstring text(WideView(address));
  if (text.empty() || text.size() > MAXDWORD) return std::nullopt;
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  // Lengths without buffers: the pieces are pointers into `text`.
  parts.dwSchemeLength = parts.dwUserNameLength = parts.dwPasswordLength = parts.dwHostNameLength =
      parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(text.c_str(), static_cast<DWORD>(text.size()), 0, &parts)) return std::nullopt;
  AddressPieces pieces;
  pieces.scheme = parts.nScheme == INTERNET_SCHEME_HTTPS ? AddressPieces::Scheme::kHttps
                  : parts.nScheme == INTERNET_SCHEME_HTTP ? AddressPieces::Scheme::kHttp
                                                          : AddressPieces::Scheme::kOther;
  pieces.userName = Piece(parts.lpszUserName, parts.dwUserNameLength);
  pieces.password = Piece(parts.lpszPassword, parts.dwPasswordLength);
  pieces.host = Piece(parts.lpszHostName, parts.dwHostNameLength);
  pieces.port = parts.nPort;
  pieces.path = Piece(parts.lpszUrlPath, parts.dwUrlPathLength);
  pieces.extra = Piece(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  return pieces;
}

FetchResult DownloadFeed(const WebAddress& address, const DownloadLimits& limits) {
  const ULONGLONG deadline = GetTickCount64() + limits.totalMilliseconds;
  const DWORD access = IsLoopbackHost(address.host) ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
  UniqueInternet session(WinHttpOpen(L"OstrelQuartet-AppUpdateBRN/" OSTREL_VERSION_WTEXT, access,
                                     WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return Failed(GetLastError());
  const int step = static_cast<int>(limits.stepMilliseconds);
  if (!WinHttpSetTimeouts(session.get(), step, step, step, step)) return Failed(GetLastError());
  if (address.secure) AllowCurrentTls(session.get());

  UniqueInternet connection(WinHttpConnect(session.get(), Wide(address.host), address.port, 0));
  if (!connection) return Failed(GetLastError());
  UniqueInternet request(WinHttpOpenRequest(connection.get(), L"GET", Wide(address.pathAndQuery), nullptr,
                                            WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                            WINHTTP_FLAG_REFRESH | (address.secure ? WINHTTP_FLAG_SECURE : 0)));
  if (!request) return Failed(GetLastError());
  DWORD features = WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_COOKIES;
  if (!WinHttpSetOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &features, sizeof features)) {
    return Failed(GetLastError());  // following a redirect is not an option
  }
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    return Failed(GetLastError());
  }

  DWORD status = 0;
  DWORD size = sizeof status;
  if (!WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    return Failed(GetLastError());
  }
  if (status != 200) return {FetchResult::Kind::kHttpStatus, status, {}};
  const FetchResult tooLarge{FetchResult::Kind::kTooLarge, static_cast<uint32_t>(limits.maxBytes), {}};
  DWORD announced = 0;
  size = sizeof announced;
  if (WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                          WINHTTP_HEADER_NAME_BY_INDEX, &announced, &size, WINHTTP_NO_HEADER_INDEX) &&
      announced > limits.maxBytes) {
    return tooLarge;
  }

  FetchResult result{FetchResult::Kind::kOk, status, {}};
  char buffer[4096];
  for (;;) {
    if (GetTickCount64() > deadline) return Failed(ERROR_WINHTTP_TIMEOUT);
    DWORD read = 0;
    if (!WinHttpReadData(request.get(), buffer, sizeof buffer, &read)) return Failed(GetLastError());
    if (read == 0) break;
    if (result.body.size() + read > limits.maxBytes) return tooLarge;
    result.body.append(buffer, read);
  }
  return result;
}

}  // namespace ostrel::updater
