#!/usr/bin/env bash
# The Windows packages under Wine: the installer, silent (/S), per user and
# for all users, gives the programs, the Start-menu entry and the snapshot
# type, and its uninstaller removes them but leaves the catalogue alone; the
# portable zip, unzipped, keeps its catalogue beside its programs.
# Usage: packages_test.sh PACKAGE_DIR (build/windows/package). Runs in the
# Wine prefix of the environment (scripts/wine-env) or a fresh one.
set -uo pipefail

PACKAGES="$(cd "$1" && pwd)"
SETUP="$(ls "$PACKAGES"/Movra-*-setup.exe 2>/dev/null | head -n1)"
ZIP="$(ls "$PACKAGES"/Movra-*-portable.zip 2>/dev/null | head -n1)"
[ -n "$SETUP" ] && [ -n "$ZIP" ] || { echo "FAIL: no Movra-<version>-setup.exe and -portable.zip in $PACKAGES"; exit 1; }
VERSION="$(basename "$SETUP")"; VERSION="${VERSION#Movra-}"; VERSION="${VERSION%-setup.exe}"

source "$(dirname "$0")/../../scripts/wine-env"
movra_wine_test_begin || exit 1
win() { timeout 120 wine "$@" </dev/null; }
unix_of() { winepath -u "$1" 2>/dev/null; }
query() { win reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'; }

# The folders of the Wine user, as Linux paths.
APPDATA="$(unix_of "$(win cmd /c echo %APPDATA% | tr -d '\r')")"
PROGRAMS_USER="$(unix_of 'C:\users')/$(win cmd /c echo %USERNAME% | tr -d '\r')/AppData/Local/Programs/Movra"
PROGRAMS_ALL="$(unix_of 'C:\Program Files')/Movra"
MENU_NAME="Movra 光盘编目"

# A catalogue of the user's, which no uninstaller may touch.
mkdir -p "$APPDATA/Movra/CDROM"
printf 'keep' >"$APPDATA/Movra/Movra.xml"

for mode in CurrentUser AllUsers; do
  echo "== installer /S /$mode"
  if [ $mode = CurrentUser ]; then dir="$PROGRAMS_USER" root=HKCU menu="$APPDATA/Microsoft/Windows/Start Menu/Programs"
  else dir="$PROGRAMS_ALL" root=HKLM menu="$(unix_of 'C:\ProgramData')/Microsoft/Windows/Start Menu/Programs"; fi
  win "$SETUP" /S /$mode || fail "$mode: the installer exited with $?"
  for file in movra.exe movra-cli.exe uninstall.exe copyright.txt help/index.html; do
    [ -f "$dir/$file" ] || fail "$mode: $dir/$file was not installed"
  done
  [ -f "$menu/$MENU_NAME.lnk" ] || fail "$mode: no Start-menu entry \"$MENU_NAME\" in $menu"
  out="$(win "$dir/movra-cli.exe" --version | tr -d '\r')"
  [ "$out" = "movra-cli $VERSION" ] || fail "$mode: the installed movra-cli.exe --version said '$out'"
  [ "$(query "$root\\Software\\Classes\\.cdg")" = Movra.Snapshot ] || fail "$mode: .cdg is not associated"
  command="$(query "$root\\Software\\Classes\\Movra.Snapshot\\shell\\open\\command")"
  case "$command" in *'movra.exe" --import "%1"') ;; *) fail "$mode: .cdg opens with '$command'" ;; esac
  uninstall="$(win reg query "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Movra" /v QuietUninstallString 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p')"
  [ -n "$uninstall" ] || fail "$mode: no entry in Apps and Features"

  echo "== uninstaller /S ($mode)"
  # The uninstaller copies itself away and runs from there, so wine returns
  # at once: wait until it has removed itself. (Running it in place with _?=
  # fails for a folder with a space, which Wine's command line quotes.)
  win "$dir/uninstall.exe" /S /$mode || fail "$mode: the uninstaller exited with $?"
  for _ in $(seq 1 60); do [ -e "$dir/uninstall.exe" ] || break; sleep 1; done
  [ ! -e "$dir/uninstall.exe" ] || fail "$mode: the uninstaller did not finish within a minute"
  [ ! -e "$dir/movra.exe" ] && [ ! -e "$dir/movra-cli.exe" ] && [ ! -e "$dir/help" ] || fail "$mode: the programs are still in $dir"
  [ ! -e "$menu/$MENU_NAME.lnk" ] || fail "$mode: the Start-menu entry is still there"
  [ -z "$(query "$root\\Software\\Classes\\Movra.Snapshot\\shell\\open\\command")" ] || fail "$mode: the snapshot type is still registered"
  [ "$(cat "$APPDATA/Movra/Movra.xml" 2>/dev/null)" = keep ] && [ -d "$APPDATA/Movra/CDROM" ] ||
    fail "$mode: the uninstaller touched the catalogue in $APPDATA/Movra"
done

echo "== portable zip"
(cd "$WORK" && unzip -q "$ZIP") || fail "the zip does not unpack"
folder="$WORK/Movra-$VERSION"
for file in movra.exe movra-cli.exe portable copyright.txt help/index.html; do
  [ -f "$folder/$file" ] || fail "the zip lacks Movra-$VERSION/$file"
done
# Run from its own folder, the portable copy makes its data folder there.
(cd "$folder" && win ./movra-cli.exe mkcat 便携 >/dev/null) || fail "the portable movra-cli.exe could not make a category"
[ -d "$folder/CDROM" ] || fail "the portable copy keeps no data folder beside its programs"
[ "$(cat "$APPDATA/Movra/Movra.xml")" = keep ] || fail "the portable copy wrote the installed catalogue"

echo "installer: $(stat -c %s "$SETUP") bytes, zip: $(stat -c %s "$ZIP") bytes"
[ $failures -eq 0 ] && echo "packages: all checks passed"
exit $((failures > 0))
