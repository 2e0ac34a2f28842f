#!/usr/bin/env bash
# `cmake --install` into a fresh prefix (with a blank in its path) gives the desktop's menu a valid entry that
# starts the installed program, and the icon at every size; the installed program started as the menu starts
# it, in the home folder, works in its own folder there.
# Arguments: the cmake program and the build folder.
set -euo pipefail
cmake=$1
build=$2
tmp=$(mktemp -d)
program=
cleanup() {
  if [ -n "$program" ]; then kill "$program" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

prefix="$tmp/kurulum yeri"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

entry="$prefix/share/applications/kalvor952.desktop"
[ -f "$entry" ] || fail "no desktop entry at $entry"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate refuses $entry"
else
  echo "desktop-file-validate is not installed (desktop-file-utils): the entry's validation is skipped"
fi
grep -qx "Exec=\"$prefix/bin/kalvor952\"" "$entry" || fail "the entry does not start $prefix/bin/kalvor952: $(grep ^Exec= "$entry")"
grep -qx "Icon=kalvor952" "$entry" || fail "the entry names another icon"

# Each size a PNG picture of that size (its header's width and height).
for size in 16 22 24 32 48 64; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/kalvor952.png"
  [ -f "$icon" ] || fail "no icon at $icon"
  header=$(od -An -tx1 -N24 "$icon" | tr -d ' \n')
  [ "${header:0:16}" = 89504e470d0a1a0a ] || fail "$icon is no PNG picture"
  [ $((16#${header:32:8})) -eq "$size" ] && [ $((16#${header:40:8})) -eq "$size" ] ||
    fail "$icon is not $size by $size"
done

# Started in the home folder, the program makes its own folder there before its start-up dialog.
home="$tmp/ev"
mkdir "$home"
cd "$home"
HOME="$home" QT_QPA_PLATFORM=offscreen "$prefix/bin/kalvor952" >"$tmp/program.log" 2>&1 &
program=$!
for _ in $(seq 600); do
  [ -d "$home/KALVOR952" ] && break
  kill -0 "$program" 2>/dev/null || fail "the program ended: $(cat "$tmp/program.log")"
  sleep 0.1
done
[ -d "$home/KALVOR952" ] || fail "the program made no folder of its own in $home"
kill "$program"
wait "$program" 2>/dev/null || true
program=
shown=$(ls "$home")
[ "$shown" = KALVOR952 ] || fail "the home folder holds: $shown"
echo "installed: a valid entry, the icon at six sizes, and the program works in \$HOME/KALVOR952"
