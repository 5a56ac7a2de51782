#!/usr/bin/env bash
# Smoke test of the Windows window program under Wine: a sample home with
# Chinese category and disc names, movra.exe started on a virtual display of
# its own, a screenshot once its main window is up, then a clean close.
# Exits 0 only when the main window appeared (and the shot was taken).
#
#   tests/windows/smoke.sh BUILD_DIR SHOT.png
#
# BUILD_DIR is a cross build holding bin/movra.exe. Needs wine, Xvfb,
# xwininfo, xdotool, iconv and ImageMagick's import.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR SHOT.png" >&2; exit 2; }
BUILD="$(cd "$1" && pwd)" || exit 2
SHOT="$(realpath -m "$2")"
EXE="$BUILD/bin/movra.exe"
[ -f "$EXE" ] || { echo "smoke: $EXE not found" >&2; exit 2; }
for tool in wine Xvfb xwininfo xdotool iconv import; do
  command -v "$tool" >/dev/null || { echo "smoke: $tool is missing" >&2; exit 2; }
done

# Every wait below is bounded, and the whole run too.
DEADLINE=$((SECONDS + 110))
WORK="$(mktemp -d "${TMPDIR:-/tmp}/movra-smoke.XXXXXX")"
XVFB_PID="" APP_PID=""
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
  [ -n "${WINEPREFIX:-}" ] && movra_wine_done
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

# ---- The sample home (GBK, as the program keeps it) ------------------------

HOME_DIR="$WORK/home"
mkdir -p "$HOME_DIR/CDROM"
to_gbk() { iconv -f UTF-8 -t GBK; }
to_gbk >"$HOME_DIR/Movra.xml" <<'XML'
<?xml version="1.0" encoding="gb2312"?>
<root><CDLIST>
<T_电影><D_经典电影01><Title>经典电影01</Title><Time>2006/3/3 9:07:02</Time><Memo>电影合集第一张nbsp带中文字幕nbsp</Memo></D_经典电影01>
<T_纪录片><D_自然纪录片><Title>自然纪录片</Title><Time>2008/5/12 20:15:00</Time><Memo>自然纪录片nbsp</Memo></D_自然纪录片></T_纪录片></T_电影>
<T_软件><D_OFFICE_2019><Title>OFFICE_2019</Title><Time>2019/11/2 10:30:00</Time><Memo>安装盘nbsp</Memo></D_OFFICE_2019></T_软件>
<T_照片><D_家庭照片2019><Title>家庭照片2019</Title><Time>2020/1/5 18:00:00</Time><Memo> </Memo></D_家庭照片2019></T_照片>
</CDLIST></root>
XML
# Snapshot lines: a folder is key|name[]time, a file key name[size]time; CR LF.
folder() { printf '%s|%s[]%s\r\n' "$1" "$2" "$3"; }
file() { printf '%s%s[%s]%s\r\n' "$1" "$2" "$3" "$4"; }
{
  file 'E:\VIDEO_TS\' 'VTS_01_1.VOB' 1073709056 '2006/2/27 21:14:06'
  file 'E:\字幕\' '第一集.srt' 41230 '2006/2/25 10:02:44'
  folder 'E:\' 'VIDEO_TS' '2006/2/27 21:14:06'
  folder 'E:\' '字幕' '2006/2/25 10:03:10'
  file 'E:\' '说明.txt' 1536 '2006/3/1 9:00:00'
  file 'E:\' 'setup.exe' 1458176 '2005/12/8 16:20:31'
} | to_gbk >"$HOME_DIR/CDROM/经典电影01.cdg"
{
  folder 'F:\' 'VIDEO_TS' '2008/5/10 22:01:00'
  file 'F:\' '简介.txt' 2048 '2008/5/10 22:05:00'
} | to_gbk >"$HOME_DIR/CDROM/自然纪录片.cdg"
{
  file 'G:\' 'autorun.inf' 64 '2019/10/30 11:00:00'
} | to_gbk >"$HOME_DIR/CDROM/OFFICE_2019.cdg"
{
  folder 'H:\' '2019' '2019/12/31 23:00:00'
} | to_gbk >"$HOME_DIR/CDROM/家庭照片2019.cdg"

# ---- A display and a Wine prefix of our own --------------------------------

exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
exec 3>&-
for _ in $(seq 100); do
  [ -s "$WORK/display" ] && break
  sleep 0.1
done
[ -s "$WORK/display" ] || { echo "smoke: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$WORK/display")"

source "$ROOT/scripts/wine-env"
movra_wine_prefix || { echo "smoke: no Wine prefix" >&2; exit 1; }
# A crash ends the program with Wine's backtrace in its log, not with a dialog that waits.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1

# ---- Start, wait for the window, take the shot -----------------------------

wine "$EXE" --home "$(winepath -w "$HOME_DIR")" >"$WORK/movra.log" 2>&1 &
APP_PID=$!

# The main window is a top-level window titled Movra (its class is Wine's).
window_id() { xwininfo -root -tree 2>/dev/null | awk '/"Movra": \(/ { print $1; exit }'; }
WIN=""
while [ $SECONDS -lt $((DEADLINE - 20)) ]; do
  WIN="$(window_id)"
  [ -n "$WIN" ] && xwininfo -id "$WIN" 2>/dev/null | grep -q 'IsViewable' && break
  WIN=""
  kill -0 "$APP_PID" 2>/dev/null || break
  sleep 0.5
done
if [ -z "$WIN" ]; then
  echo "smoke: the main window did not appear" >&2
  cat "$WORK/movra.log" >&2
  exit 1
fi
sleep 3  # the trees and the content list are filled and painted after the window maps
mkdir -p "$(dirname "$SHOT")"
import -window root "$SHOT" || { echo "smoke: no screenshot" >&2; exit 1; }
echo "smoke: main window $WIN up; screenshot $SHOT"

# ---- Close as a user would, then make sure it ended -------------------------

# taskkill without /f asks the program's windows to close (WM_CLOSE, as the
# title bar's close button does); failing that, Alt+F4 to the focused window.
ended() {
  local _
  for _ in $(seq 20); do
    kill -0 "$APP_PID" 2>/dev/null || return 0
    sleep 0.25
  done
  return 1
}
wine taskkill /im movra.exe >/dev/null 2>&1
if ! ended; then
  echo "smoke: WM_CLOSE did not close the window; trying Alt+F4" >&2
  xdotool windowfocus --sync "$WIN" 2>/dev/null
  xdotool key alt+F4 2>/dev/null
  if ! ended; then
    echo "smoke: the program did not end; ending Wine" >&2
    wineserver -k
  fi
fi
wait "$APP_PID" 2>/dev/null
APP_PID=""
if grep -q "Unhandled exception" "$WORK/movra.log"; then
  echo "smoke: the program crashed:" >&2
  cat "$WORK/movra.log" >&2
  exit 1
fi
echo "smoke: passed in ${SECONDS}s"
exit 0
