#!/usr/bin/env bash
# Builds the Debian package from a built tree, checks it with the Debian and
# freedesktop validators, unpacks it into a throwaway root and starts both
# programs from there. Exit 77 (skipped) when a packaging tool is missing.
# Usage: package_test.sh BUILD_DIR
set -uo pipefail

BUILD="$(cd "$1" && pwd)"
missing=()
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian \
            update-mime-database gio xvfb-run; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIPPED: packaging tools missing: ${missing[*]} (scripts/common.sh installs them)"
  exit 77
fi

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

echo "== package"
(cd "$BUILD" && cpack -G DEB -B "$WORK/out" >"$WORK/cpack.log" 2>&1) || { cat "$WORK/cpack.log"; exit 1; }
DEB="$(ls "$WORK"/out/movra_*_amd64.deb 2>/dev/null | head -n1)"
[ -n "$DEB" ] || { echo "FAIL: no movra_<version>_amd64.deb"; cat "$WORK/cpack.log"; exit 1; }
echo "$(basename "$DEB")"
dpkg-deb -f "$DEB" Depends | grep -q 'libwxgtk3.2' || fail "Depends lacks the shared libraries: $(dpkg-deb -f "$DEB" Depends)"

echo "== lintian"
lintian --fail-on error "$DEB" 2>&1 | grep -v 'root privileges' || true
lintian --fail-on error "$DEB" >/dev/null 2>&1 || fail "lintian reports errors"

ROOT="$WORK/root"
dpkg-deb -x "$DEB" "$ROOT"
SHARE="$ROOT/usr/share"
for file in usr/bin/movra usr/share/doc/movra/copyright usr/share/doc/movra/changelog.gz \
            usr/share/doc/movra/help/index.html usr/share/man/man1/movra.1.gz \
            usr/share/icons/hicolor/scalable/apps/movra.svg usr/share/mime/packages/movra.xml; do
  [ -e "$ROOT/$file" ] || fail "missing /$file"
done
for size in 16 22 24 32 48 64 128 256; do
  [ -s "$SHARE/icons/hicolor/${size}x${size}/apps/movra.png" ] || fail "missing ${size}x${size} icon"
done

echo "== desktop entry and metainfo"
desktop-file-validate "$SHARE"/applications/*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$SHARE"/metainfo/*.metainfo.xml || fail "appstreamcli validate"
# Snapshot files of either case must get the file type the desktop entry handles.
mkdir -p "$WORK/data_dirs"
cp -r "$SHARE/mime" "$WORK/data_dirs/mime"
update-mime-database "$WORK/data_dirs/mime" 2>"$WORK/mime.log" || { cat "$WORK/mime.log"; fail "update-mime-database"; }
for name in disc.cdg DISC.CDG; do
  printf 'D:\\\r\n' >"$WORK/$name"
  type="$(GIO_USE_VFS=local XDG_DATA_DIRS="$WORK/data_dirs:/usr/share" \
          gio info -a standard::content-type "$WORK/$name" 2>/dev/null | sed -n 's/.*content-type: //p')"
  [ "$type" = application/x-movra-snapshot ] || fail "$name has the type '$type'"
done
grep -q '^MimeType=.*application/x-movra-snapshot;' "$SHARE"/applications/*.desktop \
  || fail "desktop entry does not open snapshots"

echo "== programs from the unpacked root"
if [ -x "$ROOT/usr/bin/movra-cli" ]; then
  [ -e "$SHARE/man/man1/movra-cli.1.gz" ] || fail "missing movra-cli manual page"
  version="$("$ROOT/usr/bin/movra-cli" --version)" || fail "movra-cli --version"
  echo "$version"
  [[ "$version" == *"$(dpkg-deb -f "$DEB" Version)"* ]] || fail "movra-cli --version differs from the package"
else
  echo "movra-cli not built: its start is not checked"
fi
# The window must still be running after a few seconds on a fresh account.
mkdir -p "$WORK/home" "$WORK/data" "$WORK/config"
HOME="$WORK/home" XDG_DATA_HOME="$WORK/data" XDG_CONFIG_HOME="$WORK/config" \
  xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    "$1" & pid=$!
    sleep 4
    kill -0 $pid 2>/dev/null || { wait $pid; echo "movra ended early with status $?"; exit 1; }
    kill $pid; wait $pid 2>/dev/null; exit 0' sh "$ROOT/usr/bin/movra" || fail "the window did not keep running"

# Installed, both programs keep the catalogue in the user's data folder.
[ -d "$WORK/data/movra/CDROM" ] || fail "no data folder in \$XDG_DATA_HOME/movra after the window's start"
if [ -x "$ROOT/usr/bin/movra-cli" ]; then
  HOME="$WORK/home" XDG_DATA_HOME="$WORK/data" "$ROOT/usr/bin/movra-cli" stats || fail "movra-cli stats"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "package checks passed"
