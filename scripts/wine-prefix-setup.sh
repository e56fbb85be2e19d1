#!/usr/bin/env bash
# Makes a fresh Wine prefix fit for the program: no crash dialog, and Japanese,
# Chinese and Korean dialog fonts mapped onto the CJK fonts that are installed.
set -euo pipefail
reg() { timeout 120 wine reg add "$@" /f >/dev/null; }
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
subst='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
for face in "MS UI Gothic" "ＭＳ Ｐゴシック" "ＭＳ ゴシック" "MS Shell Dlg" "MS Shell Dlg 2" "Meiryo UI"; do
  reg "$subst" /v "$face" /t REG_SZ /d "Noto Sans CJK JP"
done
reg "$subst" /v "SimSun" /t REG_SZ /d "Noto Sans CJK SC"
reg "$subst" /v "Batang" /t REG_SZ /d "Noto Sans CJK KR"
