#pragma once
// The updater's own texts. "%s" is filled in, in turn, by the check.

namespace ostrel::updater::texts {

inline constexpr char16_t kCaption[] = u"Ostrel Quartet";

inline constexpr char16_t kOffer[] =
    u"新しいバージョン %s が公開されています（お使いのバージョンは %s です）。%s\n\nダウンロードのページを開きますか？";
inline constexpr char16_t kUpToDate[] = u"お使いのバージョン %s は最新です。";
inline constexpr char16_t kNoFeedAddress[] = u"更新の確認先が設定されていないため、確認できませんでした。";
inline constexpr char16_t kAddressRefused[] = u"更新の確認先のアドレス（%s）は使えないため、確認できませんでした。";
inline constexpr char16_t kUnreachable[] =
    u"更新の情報を取得できませんでした。インターネットに接続されているか確かめて、しばらくしてからもう一度お試しください。";
inline constexpr char16_t kHttpError[] = u"更新の情報を取得できませんでした（HTTP %s）。しばらくしてからもう一度お試しください。";
inline constexpr char16_t kUnreadable[] = u"更新の情報を読み取れませんでした。しばらくしてからもう一度お試しください。";
inline constexpr char16_t kOpenFailed[] = u"ダウンロードのページを開けませんでした。\n%s";

}  // namespace ostrel::updater::texts
