#!/usr/bin/env bash
# Checks the Debian package of the game the way a player's machine meets it:
#   scripts/check-package.sh <porongo_<version>_amd64.deb>
# First the package itself: lintian (no error, no warning), the desktop entry, the AppStream
# metadata with the entry and icons beside it, and the version in the changelog, the
# metadata and the manual page. Then, as root: the package installed with dpkg, the game started from its
# desktop entry on Xvfb in a fresh home (the window appears, the data folder is filled, a
# file of the player's own is kept), and the package purged, leaving nothing of it behind
# and the player's data folder as it was. A porongo package that was installed before is put
# back at the end, so the check can run on a player's machine and run again.
set -euo pipefail

deb=$(readlink -f "$1")
cd "$(dirname "$0")/.."
source tests/e2e/e2e_lib.sh

id=io.github.porongo.porongo
version=$(dpkg-deb -f "$deb" Version)
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes, $(dpkg-deb -f "$deb" Installed-Size) KiB installed"

# --- the package as a file ----------------------------------------------------------------
lintian --fail-on error,warning --display-level '>=info' "$deb" || fail "lintian found errors or warnings"

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/$id.desktop" || fail "desktop entry"
# AppStream 0.16 (Debian 12) predates the developer element of AppStream 1.0 and reports it as
# an unknown tag: there, that finding alone is let through.
validate_appstream() {
  local report
  report=$(appstreamcli "$@" --no-net --pedantic --strict 2>&1) && return 0
  if [[ "$(appstreamcli --version)" == *" 0."* ]] &&
    ! grep -E '^\s*[EWIP]: ' <<<"$report" | grep -q -v -E ': unknown-tag developer$'; then
    return 0
  fi
  echo "$report" >&2
  return 1
}
validate_appstream validate "$work/root/usr/share/metainfo/$id.metainfo.xml" || fail "AppStream metadata"
validate_appstream validate-tree "$work/root" || fail "AppStream metadata with its desktop entry and icons"

zcat "$work/root/usr/share/doc/porongo/changelog.gz" >"$work/changelog"
[[ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" == "$version" ]] || fail "the changelog's latest entry is not $version"
grep -q "<release version=\"$version\"" "$work/root/usr/share/metainfo/$id.metainfo.xml" ||
  fail "the AppStream metadata has no release $version"
zgrep -q "^\.TH PORONGO 6 .* \"Porongo $version\"" "$work/root/usr/share/man/man6/porongo.6.gz" ||
  fail "the manual page is not the one of version $version"

# The player's data folder belongs to the player: no maintainer script may touch it.
scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -v -x -e './' -e './control' -e './md5sums' || true)
[[ -z "$scripts" ]] || fail "the package has maintainer scripts: $scripts"

if [[ $(id -u) -ne 0 ]]; then
  echo "check-package.sh: not root, so the package was not installed and started"
  exit 0
fi

# --- installed, started and purged --------------------------------------------------------
# dpkg, waiting for whoever else holds its lock.
run_dpkg() {
  for ((i = 0; i < 300; i++)); do
    if dpkg "$@" >"$work/dpkg.log" 2>&1; then return 0; fi
    grep -q 'lock' "$work/dpkg.log" || break
    sleep 1
  done
  cat "$work/dpkg.log" >&2
  return 1
}

installed() { [[ "$(dpkg-query -W -f='${db:Status-Status}' porongo 2>/dev/null)" == installed ]]; }

previous=
if installed; then
  echo "porongo $(dpkg-query -W -f='${Version}' porongo) is installed: it is kept aside and put back afterwards"
  mkdir "$work/previous"
  (cd "$work/previous" && dpkg-repack porongo >/dev/null)
  previous=$(echo "$work"/previous/porongo_*.deb)
fi

ours=
restore() {
  [[ -n "$ours" ]] && run_dpkg --purge porongo
  [[ -n "$previous" ]] && run_dpkg -i "$previous"
  cleanup
}
trap restore EXIT

ours=1
run_dpkg -i "$deb" || fail "dpkg -i $deb"
dpkg -L porongo | sort >"$work/files"
for path in /usr/games/porongo /usr/libexec/porongo/porongo /usr/share/games/porongo/bgm.mid \
  /usr/share/games/porongo/BLEEP04.WAV /usr/share/applications/$id.desktop /usr/share/metainfo/$id.metainfo.xml \
  /usr/share/man/man6/porongo.6.gz /usr/share/doc/porongo/copyright /usr/share/doc/porongo/changelog.gz \
  /usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/$id.png; do
  grep -q -x "$path" "$work/files" || fail "the package does not install $path"
done

# A player's first start, the way the desktop starts the game: its Exec line, with the games
# folders on the PATH as a user has them (root's lacks them).
export HOME="$work/home" PATH="$PATH:/usr/local/games:/usr/games"
unset XDG_DATA_HOME
export SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
data="$HOME/.local/share/porongo"
mkdir -p "$data"
echo "the player's own sound" >"$data/BLEEP04.WAV"
command=$(sed -n 's/^Exec=//p' "/usr/share/applications/$id.desktop")

start_x_server Xvfb -screen 0 1024x768x24 -nolisten tcp || fail "Xvfb did not start: $(cat "$work/xserver.log")"
start_game "$command"
[[ "$(readlink "/proc/$game_pid/exe")" == /usr/libexec/porongo/porongo ]] || fail "the window is not the installed program's"
[[ "$(readlink "/proc/$game_pid/cwd")" == "$data" ]] || fail "the game does not run in the data folder $data"
cmp -s "$data/bgm.mid" /usr/share/games/porongo/bgm.mid || fail "the data folder has no bgm.mid"
[[ "$(cat "$data/BLEEP04.WAV")" == "the player's own sound" ]] || fail "the player's own BLEEP04.WAV was replaced"
press Escape
wait_for_game_end || fail "the game did not end after Esc"
((game_status == 0)) || fail "the game ended with status $game_status"

(cd "$data" && sha256sum ./*) >"$work/data-before"
ours=
run_dpkg --purge porongo || fail "dpkg --purge porongo"
! installed || fail "porongo is still installed after the purge"
while read -r path; do
  [[ -d "$path" || ! -e "$path" ]] || fail "the purge left $path behind"
done <"$work/files"
for left in /usr/libexec/porongo /usr/share/games/porongo /usr/share/doc/porongo /var/lib/dpkg/info/porongo.*; do
  [[ ! -e "$left" ]] || fail "the purge left $left behind"
done
(cd "$data" && sha256sum ./*) | cmp -s - "$work/data-before" || fail "the purge changed the player's data folder"
echo "check-package.sh: the package installs, starts and purges cleanly"
