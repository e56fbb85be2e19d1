#!/usr/bin/env bash
# Makes a fresh Wine prefix fit for the program: no crash dialog, and Japanese,
# Chinese and Korean dialog fonts mapped onto free fonts of the same build.
set -euo pipefail
reg() { timeout 120 wine reg add "$@" /f >/dev/null; }
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
# Line heights decide the size of a dialog unit. The IPA Gothic faces are as compact as the
# Japanese faces the pages were laid out with; the frame's shell font needs a taller line, as
# the Western shell font has, or the pages run over its OK and Cancel buttons. Noto Sans CJK
# is taller still and fits neither.
for face in "MS UI Gothic" "ＭＳ Ｐゴシック" "Meiryo UI"; do
  reg "$subst" /v "$face" /t REG_SZ /d "IPAPGothic"
done
reg "$subst" /v "ＭＳ ゴシック" /t REG_SZ /d "IPAGothic"
reg "$subst" /v "MS Shell Dlg" /t REG_SZ /d "VL PGothic"
reg "$subst" /v "MS Shell Dlg 2" /t REG_SZ /d "VL PGothic"
reg "$subst" /v "SimSun" /t REG_SZ /d "AR PL UMing CN"
reg "$subst" /v "Batang" /t REG_SZ /d "UnBatang"
