#!/usr/bin/env bash
# Builds the user's manual, the "マニュアル.pdf" the toolbar's menu opens beside the program:
# docs/manual/manual.md (Markdown) -> HTML (Debian's python3-markdown) -> PDF (weasyprint).
#
#   scripts/build-manual.sh SOURCE_DIR OUTPUT_PDF [VERSION]
#
# SOURCE_DIR is the repository (docs/manual and docs/images below it). The version printed in
# the manual is VERSION, else $OSTREL_VERSION, else the version of the project() line in
# SOURCE_DIR/CMakeLists.txt. $OSTREL_SUPPORT_URL, when set, is printed in the contact chapter.
set -euo pipefail

fail() { echo "build-manual: $*" >&2; exit 1; }

[ $# -ge 2 ] && [ $# -le 3 ] || fail "usage: $0 SOURCE_DIR OUTPUT_PDF [VERSION]"
source_dir=$(cd "$1" && pwd) || fail "no such folder: $1"
output=$2
manual_dir="$source_dir/docs/manual"
[ -f "$manual_dir/manual.md" ] || fail "no manual in $manual_dir (manual.md)"
[ -f "$manual_dir/manual.css" ] || fail "no style sheet in $manual_dir (manual.css)"

version=${3:-${OSTREL_VERSION:-}}
if [ -z "$version" ]; then
  version=$(sed -n 's/^project([^)]*VERSION \([0-9][0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt" | head -n 1)
  [ -n "$version" ] || fail "no version given and none found in $source_dir/CMakeLists.txt"
fi

# Debian's interpreter: a python3 earlier on PATH (pyenv, a virtual environment) lacks its modules.
python=/usr/bin/python3
weasyprint=/usr/bin/weasyprint
[ -x "$python" ] && "$python" -c 'import markdown' 2>/dev/null ||
  fail "python3-markdown is missing (apt-get install python3-markdown)"
[ -x "$weasyprint" ] || fail "weasyprint is missing (apt-get install weasyprint)"
fc-list ':lang=ja' family | grep -q -e 'Noto Sans CJK JP' -e 'IPAexGothic' -e 'IPAGothic' ||
  fail "no Japanese font (apt-get install fonts-noto-cjk)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$python" "$source_dir/scripts/manual_html.py" "$manual_dir/manual.md" "$work/manual.html" "$version" \
  "${OSTREL_SUPPORT_URL:-}"

mkdir -p "$(dirname "$output")"
# Written beside the target and then moved, so an interrupted build never leaves half a PDF.
# weasyprint's warnings (a font or a picture it could not use) fail the build rather than
# slip into the manual unnoticed.
"$weasyprint" --base-url "$manual_dir/" --presentational-hints "$work/manual.html" "$work/manual.pdf" \
  2>"$work/weasyprint.log" || { cat "$work/weasyprint.log" >&2; fail "weasyprint failed"; }
if grep -q -i -e 'warning' -e 'error' "$work/weasyprint.log"; then
  cat "$work/weasyprint.log" >&2
  fail "weasyprint reported problems"
fi
mv -f "$work/manual.pdf" "$output.partial"
mv -f "$output.partial" "$output"
echo "build-manual: $output (version $version)"
