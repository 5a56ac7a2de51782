#!/usr/bin/env bash
# One folder with Chinese names, catalogued by the Linux movra-cli (as Z:\…,
# its drive map's letter for /) and by movra-cli.exe under Wine (whose Z: is
# / too): the two snapshot files must be the same bytes, and a search of
# each catalogue must give the same rows.
# Usage: interchange_test.sh LINUX_MOVRA_CLI WINDOWS_MOVRA_CLI_EXE
set -uo pipefail

LINUX_CLI="$1" WINDOWS_CLI="$2"
[ -x "$LINUX_CLI" ] || { echo "SKIPPED: no Linux movra-cli at $LINUX_CLI"; exit 77; }
source "$(dirname "$0")/../../scripts/wine-env"
movra_wine_test_begin || exit 1

# Names GBK holds (Chinese, full-width signs, mixed case), a deep folder, an
# empty one, and sizes and times that must agree to the second.
tree="$WORK/光盘 源"
mkdir -p "$tree/照片/2006年 夏天" "$tree/文档/空文件夹" "$tree/Music/周杰伦/范特西"
printf 'x' >"$tree/照片/2006年 夏天/海边（一）.jpg"
head -c 70000 /dev/zero >"$tree/照片/2006年 夏天/IMG_0001.JPG"
printf '说明' >"$tree/文档/读我.txt"
printf '' >"$tree/文档/空的.doc"
head -c 3000 /dev/zero >"$tree/Music/周杰伦/范特西/01 爱在西元前.mp3"
printf 'readme' >"$tree/ReadMe"
touch -d '2006-07-15 10:20:30' "$tree/照片/2006年 夏天/海边（一）.jpg"
touch -d '2001-01-01 00:00:00' "$tree/文档/读我.txt"
touch -d '2024-02-29 23:59:59' "$tree/Music/周杰伦/范特西/01 爱在西元前.mp3"

source_text="Z:$(printf '%s' "$tree" | tr / '\\')\\"
for side in linux windows; do
  home="$WORK/home-$side"
  mkdir -p "$home"
  if [ $side = linux ]; then run=("$LINUX_CLI" --home "$home")
  else run=(timeout 120 wine "$WINDOWS_CLI" --home "Z:$(printf '%s' "$home" | tr / '\\')"); fi
  "${run[@]}" mkcat 资料 >"$WORK/$side.log" 2>&1 </dev/null || fail "$side: mkcat: $(cat "$WORK/$side.log")"
  "${run[@]}" add "$source_text" --name 测试光盘 --category 资料 --memo "交换测试" \
    --date "2026-12-10 12:00:00" >>"$WORK/$side.log" 2>&1 </dev/null || fail "$side: add: $(cat "$WORK/$side.log")"
  "${run[@]}" search '*' --in 资料 </dev/null | tr -d '\r' | sort >"$WORK/$side.rows" 2>>"$WORK/$side.log" ||
    fail "$side: search: $(cat "$WORK/$side.log")"
done

a="$WORK/home-linux/CDROM/测试光盘.cdg" b="$WORK/home-windows/CDROM/测试光盘.cdg"
[ -s "$a" ] && [ -s "$b" ] || fail "a snapshot is missing: $(ls "$WORK"/home-*/CDROM)"
if [ -s "$a" ] && [ -s "$b" ] && ! cmp -s "$a" "$b"; then
  fail "the snapshots differ"
  diff <(iconv -f GBK -t UTF-8 "$a") <(iconv -f GBK -t UTF-8 "$b") | head -n 20
fi
[ "$(wc -l <"$WORK/linux.rows")" -ge 9 ] || fail "the Linux search found $(wc -l <"$WORK/linux.rows") rows"
if ! cmp -s "$WORK/linux.rows" "$WORK/windows.rows"; then
  fail "the search rows differ"
  diff "$WORK/linux.rows" "$WORK/windows.rows" | head -n 20
fi
[ $failures -eq 0 ] && echo "interchange: $(stat -c %s "$a")-byte snapshots identical, $(wc -l <"$WORK/linux.rows") equal search rows"
exit $((failures > 0))
