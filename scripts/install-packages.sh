#!/usr/bin/env bash
# Installs the Debian packages that a task needs, only those that are missing, on Debian 12
# (bookworm) and Debian 13 (trixie).
#   scripts/install-packages.sh build [run] [test] [windows] [package] [fuzz] [chroot]
set -euo pipefail

# What the two releases name otherwise. A runtime library that Debian 13 renamed for its
# 64-bit time_t (libfoo1 became libfoo1t64) needs nothing here: the new package provides the
# old name, and a provided name counts as installed below.
source /etc/os-release
case "${VERSION_ID:-}" in
  12) clang_rt=libclang-rt-14-dev ;;
  *) clang_rt=libclang-rt-19-dev ;;
esac

build=(cmake ninja-build g++ pkg-config qt6-base-dev libx11-dev libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev
       libasound2-dev binutils-mingw-w64-x86-64 mingw-w64-common)
run=(fonts-ipafont-gothic timgm6mb-soundfont qt6-wayland)
test=(libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils x11-xserver-utils
      imagemagick openbox wmctrl weston xwayland
      lintian appstream desktop-file-utils dpkg-repack
      dbus-daemon mutter kwin-wayland i3-wm sway grim wtype jq
      pipewire wireplumber pipewire-pulse pulseaudio-utils)
# The Windows build (mingw-w64, GoogleTest's sources) and its tests under Wine (with Wine's
# own fonts, and the locale definitions for a Japanese prefix).
windows=(g++-mingw-w64-x86-64-posix googletest wine64 fonts-wine locales)
package=(dpkg-dev file)
fuzz=(clang "$clang_rt")
# Another Debian release in a chroot, for scripts/test-in-chroot.sh.
chroot=(debootstrap)

wanted=()
for group in "$@"; do
  case "$group" in
    build) wanted+=("${build[@]}") ;;
    run) wanted+=("${run[@]}") ;;
    test) wanted+=("${run[@]}" "${test[@]}") ;;
    windows) wanted+=("${windows[@]}") ;;
    package) wanted+=("${package[@]}") ;;
    fuzz) wanted+=("${fuzz[@]}") ;;
    chroot) wanted+=("${chroot[@]}") ;;
    *) echo "install-packages.sh: unknown group '$group'" >&2; exit 2 ;;
  esac
done

# The names that installed packages answer to: their own and those they provide.
declare -A installed=()
while read -r status names; do
  [[ "$status" == ii ]] || continue
  for name in ${names//,/ }; do installed[$name]=1; done
done < <(dpkg-query -W -f='${db:Status-Abbrev} ${Package} ${Provides}\n' | sed 's/ ([^)]*)//g')
missing=()
for pkg in "${wanted[@]}"; do
  [[ -n "${installed[$pkg]:-}" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "install-packages.sh: run as root to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
