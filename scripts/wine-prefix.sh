#!/usr/bin/env bash
# Runs a command in a Wine prefix made for Porongo's Windows build, setting the prefix up
# first if it is not there yet:
#   scripts/wine-prefix.sh [--offscreen] [--locale <language_TERRITORY>] <folder> [command [arguments...]]
# e.g. scripts/wine-prefix.sh build-win/wine/play /usr/lib/wine/wine64 build-win/app/porongo.exe
#
# <folder> holds the prefix and a locale of its own, generated there, so that no system locale
# is needed: Japanese (ja_JP) unless --locale names another. Japanese gives Wine code page 932,
# as on a Japanese Windows; en_US gives code page 1252, as on most machines sold elsewhere.
# The prefix substitutes IPAPGothic for "ＭＳ Ｐゴシック" and "MS PGothic" (Wine would otherwise
# fall back to a fixed-pitch face) and has no audio driver, like a machine without a sound
# device, so that runs are quiet and the same everywhere. With --offscreen the prefix has
# Wine's null graphics driver: windows exist and draw, but need no X server and show nowhere,
# which is what the tests want. Set-up is serialised with a lock: tests that start together
# wait for one set-up.
set -euo pipefail

graphics=x11
locale=ja_JP
while [[ "${1:-}" == --* ]]; do
  case "$1" in
    --offscreen) graphics=null; shift ;;
    --locale) locale=${2:-}; shift 2 || shift ;;
    *) break ;;
  esac
done
if [[ $# -lt 1 || ! "$locale" =~ ^[a-z]+_[A-Z]+$ ]]; then
  echo "usage: wine-prefix.sh [--offscreen] [--locale <language_TERRITORY>] <folder> [command [arguments...]]" >&2
  exit 2
fi
mkdir -p "$1"
folder=$(cd "$1" && pwd)
shift

prefix="$folder/prefix"
locales="$folder/locale"
# LC_ALL goes to the commands alone: this shell cannot load the locale from LOCPATH. No Mono
# and no Gecko: wineboot would offer to download them.
environment=(WINEPREFIX="$prefix" LOCPATH="$locales" LC_ALL="$locale.UTF-8" WINEDEBUG="${WINEDEBUG:--all}"
             WINEDLLOVERRIDES="mscoree,mshtml=")

wine=$(command -v /usr/lib/wine/wine64 wine64 wine 2>/dev/null | head -n1 || true)
[[ -n "$wine" ]] || { echo "wine-prefix.sh: Wine is not installed (scripts/install-packages.sh windows)" >&2; exit 1; }

set_up() {
  [[ "$(cat "$folder/ready" 2>/dev/null)" == "$graphics $locale" ]] && return
  rm -rf "$prefix" "$locales"
  mkdir -p "$locales"
  localedef -i "$locale" -f UTF-8 "$locales/$locale.UTF-8" ||
    { echo "wine-prefix.sh: could not generate the $locale.UTF-8 locale (is 'locales' installed?)" >&2; exit 1; }
  env "${environment[@]}" "$wine" wineboot --init >/dev/null 2>&1
  # regedit reads UTF-16 files whole; `wine reg add` would garble the Japanese face name.
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
    '"ＭＳ Ｐゴシック"="IPAPGothic"' '"MS PGothic"="IPAPGothic"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Drivers]' '"Audio"=""' "\"Graphics\"=\"$graphics\"" |
    iconv -f UTF-8 -t UTF-16 >"$folder/porongo.reg"
  env "${environment[@]}" "$wine" regedit /S "$(winepath_of "$folder/porongo.reg")"
  env "${environment[@]}" "$(dirname "$wine")/wineserver" -w
  grep -q '"MS PGothic"="IPAPGothic"' "$prefix/system.reg" ||
    { echo "wine-prefix.sh: the font substitutes did not reach the registry" >&2; exit 1; }
  echo "$graphics $locale" >"$folder/ready"
}

# A Unix path as Wine's Z: drive sees it.
winepath_of() { echo "Z:${1//\//\\}"; }

(
  flock 9
  set_up
) 9>"$folder/lock"

[[ $# -gt 0 ]] && exec env "${environment[@]}" "$@"
exit 0
