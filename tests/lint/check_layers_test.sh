#!/usr/bin/env bash
# The layering check itself: silent on a tree that keeps the layers, and on one that does not,
# names the upward include, the include between two windows, the cycle and the shared encoding
# tree reaching up into the program.
set -euo pipefail
check="$1"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/src/{platform,reading,toolbar,settingsdlg,app} "$tree"/resources "$tree"/encoding
echo '#include "platform/a.h"' > "$tree"/src/reading/r.h
echo '#include "encoding/e.h"' >> "$tree"/src/platform/p.h
echo '#include "encoding/f.h"' > "$tree"/encoding/e.h
touch "$tree"/encoding/f.h
echo '#include "../../resources/x_ids.h"' > "$tree"/src/toolbar/t.cpp
echo '#include <windows.h>' > "$tree"/src/platform/a.h
touch "$tree"/resources/x_ids.h
python3 "$check" "$tree" || { echo "a tree that keeps the layers failed"; exit 1; }

echo '#include "app/main.h"' >> "$tree"/src/reading/r.h
echo '#include "settingsdlg/s.h"' >> "$tree"/src/toolbar/t.cpp
echo '#include "b.h"' > "$tree"/src/platform/a.h
echo '#include "a.h"' > "$tree"/src/platform/b.h
echo '#include "platform/p.h"' >> "$tree"/encoding/e.h
touch "$tree"/src/app/main.h "$tree"/src/settingsdlg/s.h
if out=$(python3 "$check" "$tree" 2>&1); then
  echo "a tree that breaks the layers passed"; exit 1
fi
echo "$out"
for expected in "src/reading/r.h:2: reading may not include app" \
                "src/toolbar/t.cpp:2: toolbar may not include settingsdlg" \
                "include cycle: src/platform/a.h -> src/platform/b.h -> src/platform/a.h" \
                "encoding/e.h:2: encoding may not include platform/p.h"; do
  grep -qF "$expected" <<<"$out" || { echo "missing: $expected"; exit 1; }
done
