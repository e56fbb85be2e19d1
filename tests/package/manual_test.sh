#!/usr/bin/env bash
# The user's manual as a reader gets it: a PDF of a sensible length whose text is real,
# searchable Japanese with every chapter where the table of contents says it is, the version
# of this build on the cover, and every font inside the file. Each page is rendered to PNG
# under ARTIFACTS_DIR/manual/ for a person to look at.
#
#   tests/package/manual_test.sh PDF ARTIFACTS_DIR VERSION
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

[ $# -eq 3 ] || fail "usage: $0 PDF ARTIFACTS_DIR VERSION"
pdf=$1
artifacts=$2/manual
version=$3
[ -s "$pdf" ] || fail "no manual at $pdf"
for tool in pdfinfo pdftotext pdffonts pdfimages pdftoppm; do
  command -v "$tool" >/dev/null || fail "$tool is missing (apt-get install poppler-utils)"
done

chapters=(
  "はじめに"
  "インストールとアンインストール"
  "音声の追加"
  "読み上げる"
  "ホットキー"
  "環境設定"
  "ユーザー辞書の編集"
  "透明度とスキン"
  "設定の保存場所"
  "更新の確認"
  "困ったときは"
  "お問い合わせ"
)
# The screenshots the manual shows: toolbar (twice), menu, five settings pages, editor.
min_pictures=9

echo "-- the document"
info=$(pdfinfo "$pdf") || fail "pdfinfo cannot read $pdf"
pages=$(sed -n 's/^Pages: *//p' <<<"$info")
echo "   $pages pages"
# Under 15 pages something was left out; over 80 the layout has run away (a picture or a
# table breaking page after page).
[ "$pages" -ge 15 ] && [ "$pages" -le 80 ] || fail "$pages pages, expected 15 to 80"
grep -q '^Title: *Ostrel Quartet ユーザーズマニュアル$' <<<"$info" ||
  fail "the title is not 'Ostrel Quartet ユーザーズマニュアル': $(grep '^Title' <<<"$info")"

page_text() { pdftotext -enc UTF-8 -layout -f "$1" -l "$1" "$pdf" -; }

echo "-- the version on the cover"
cover=$(page_text 1)
grep -q "ユーザーズマニュアル" <<<"$cover" || fail "the cover has no searchable text"
grep -q "Version ${version//./\\.}\$" <<<"$cover" ||
  fail "the cover does not show 'Version $version': $(grep -o 'Version.*' <<<"$cover" || echo nothing)"

echo "-- every chapter, on the page the table of contents gives"
contents=$(pdftotext -enc UTF-8 -layout -f 2 -l 4 "$pdf" -)
for i in "${!chapters[@]}"; do
  n=$((i + 1))
  heading=${chapters[$i]}
  # "3 音声の追加 ........ 8": the chapter's line in the contents, its page last.
  line=$(grep -E "^\s*$n\s+$heading\s*(\. ?)+\s*[0-9]+\s*$" <<<"$contents" | head -n 1) ||
    fail "chapter $n '$heading' is not in the table of contents"
  page=$(grep -oE '[0-9]+\s*$' <<<"$line" | tr -d ' ')
  [ "$page" -le "$pages" ] || fail "the contents put chapter $n on page $page of $pages"
  # The heading stands alone on its line, its number before it.
  page_text "$page" | grep -qE "^\s*$n\s+$heading\s*$" ||
    fail "page $page does not begin chapter $n '$heading'"
  echo "   $n $heading: page $page"
done

echo "-- fonts"
fonts=$(pdffonts "$pdf" | tail -n +3)
[ -n "$fonts" ] || fail "the manual has no fonts: its text would be pictures"
# Columns: name type encoding emb sub uni; the name may hold no blanks, the type may.
not_embedded=$(awk '{ if ($(NF-4) != "yes") print }' <<<"$fonts")
[ -z "$not_embedded" ] || fail "fonts not embedded:"$'\n'"$not_embedded"
grep -qiE 'CJK|IPA' <<<"$fonts" || fail "no Japanese face among the fonts:"$'\n'"$fonts"
no_unicode=$(awk '{ if ($(NF-2) != "yes") print }' <<<"$fonts")
[ -z "$no_unicode" ] || fail "fonts without a Unicode map (text would not be searchable):"$'\n'"$no_unicode"
echo "$fonts" | awk '{ print "   " $1 }'

echo "-- pictures"
pictures=$(pdfimages -list "$pdf" | tail -n +3 | awk '$3 == "image"' | wc -l)
echo "   $pictures pictures"
[ "$pictures" -ge "$min_pictures" ] || fail "$pictures pictures, expected at least $min_pictures"

echo "-- pages rendered to $artifacts"
rm -rf "$artifacts"
mkdir -p "$artifacts"
pdftoppm -r 60 -png "$pdf" "$artifacts/page"
rendered=$(find "$artifacts" -name 'page-*.png' | wc -l)
[ "$rendered" -eq "$pages" ] || fail "$rendered of $pages pages rendered"
echo "PASS: the manual, $pages pages"
