#!/usr/bin/env bash
# Runs the README's test command on another Debian release, as a new user would on a fresh
# machine of it:
#   scripts/test-in-chroot.sh <suite>        e.g. scripts/test-in-chroot.sh trixie
# As root: a minimal system of <suite> is made anew in build-chroot/<suite> with debootstrap,
# from the Debian mirror that apt uses here, with git as its one addition. The committed HEAD
# of this repository is cloned into it, and `bash scripts/test.sh` runs there as root, with
# /proc, /sys, /dev and /dev/pts of this machine bound in and nothing else. Whatever happens
# (a failure, Ctrl+C), the processes left in the chroot are ended and everything is unmounted.
# The chroot is removed after a pass and kept for a look after a failure.
set -euo pipefail

if [[ $# -ne 1 ]]; then
  echo "usage: test-in-chroot.sh <suite>" >&2
  exit 2
fi
suite=$1
if [[ $(id -u) -ne 0 ]]; then
  echo "test-in-chroot.sh: debootstrap and chroot need root" >&2
  exit 1
fi
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh chroot

# The archive that apt's own sources name for this machine's release, in either format of
# sources file (the security archive serves other suites).
mirror() {
  local codename
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  {
    sed 's/#.*//' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
      sed 's/\[[^]]*\]//' | awk -v suite="$codename" '$1 == "deb" && $3 == suite { print $2 }'
    awk -v suite="$codename" -v RS= '
      { types = uris = suites = ""; enabled = 1
        n = split($0, lines, "\n")
        for (i = 1; i <= n; i++) {
          if (lines[i] ~ /^Types:/) types = " " lines[i] " "
          if (lines[i] ~ /^URIs:/) { uris = lines[i]; sub(/^URIs:[ \t]*/, "", uris) }
          if (lines[i] ~ /^Suites:/) suites = " " lines[i] " "
          if (lines[i] ~ /^Enabled:[ \t]*no/) enabled = 0
        }
        if (enabled && types ~ / deb / && suites ~ " " suite " ") { split(uris, u, " "); print u[1] } }
    ' /etc/apt/sources.list.d/*.sources 2>/dev/null
  } | head -n1
}
archive=$(mirror)
[[ -n "$archive" ]] || { echo "test-in-chroot.sh: apt's sources name no Debian archive for this release" >&2; exit 1; }

root="$(pwd -P)/build-chroot/$suite"
commit=$(git rev-parse HEAD)
mounts=(proc sys dev dev/pts)
mounted=()

# The processes still running inside the chroot: their root is its folder.
chroot_pids() {
  local link
  for link in /proc/[0-9]*/root; do
    [[ "$(readlink "$link" 2>/dev/null)" == "$root" ]] && echo "${link//[^0-9]/}"
  done
  return 0
}

# Ends what runs in the chroot, then unmounts in reverse order; a mount that stays busy is
# detached all the same, so that none is left behind.
release() {
  local pids i
  mapfile -t pids < <(chroot_pids)
  ((${#pids[@]} == 0)) || kill "${pids[@]}" 2>/dev/null || true
  for ((i = 0; i < 50; i++)); do
    mapfile -t pids < <(chroot_pids)
    ((${#pids[@]} > 0)) || break
    sleep 0.1
  done
  ((${#pids[@]} == 0)) || kill -KILL "${pids[@]}" 2>/dev/null || true
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "$root/${mounted[i]}" 2>/dev/null || umount --lazy "$root/${mounted[i]}" || true
  done
  mounted=()
}

# Refuses to go on while anything is mounted below the chroot's folder: removing it then
# would reach into the machine's own /dev or /proc.
unmounted() {
  local left
  left=$(findmnt -rn -o TARGET | awk -v under="$root/" 'index($0, under) == 1')
  [[ -z "$left" ]] && return 0
  echo "test-in-chroot.sh: still mounted under $root: $left" >&2
  return 1
}

status=1
finish() {
  trap - EXIT INT TERM
  release
  if unmounted && ((status == 0)); then
    rm -rf --one-file-system "$root"
  elif ((status != 0)); then
    echo "test-in-chroot.sh: failed on $suite; the chroot is kept in $root" >&2
  fi
  exit "$status"
}
trap finish EXIT
trap 'status=130; exit' INT
trap 'status=143; exit' TERM

unmounted
rm -rf --one-file-system "$root"
mkdir -p "$root"
echo "test-in-chroot.sh: a fresh $suite from $archive"
start=$SECONDS
debootstrap --variant=minbase --include=git "$suite" "$root" "$archive" >"$root.debootstrap.log" 2>&1 ||
  { tail -n 20 "$root.debootstrap.log" >&2; echo "test-in-chroot.sh: debootstrap failed" >&2; exit 1; }
echo "test-in-chroot.sh: debootstrap took $((SECONDS - start)) s"
# Packages installed in the chroot start no services on this machine.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

git bundle create "$root/root/porongo.bundle" HEAD 2>/dev/null
for m in "${mounts[@]}"; do
  mount --bind "/$m" "$root/$m"
  mounted+=("$m")
done

echo "test-in-chroot.sh: bash scripts/test.sh in $suite, commit $commit"
[[ -z "$(git status --porcelain --untracked-files=no)" ]] ||
  echo "test-in-chroot.sh: changes that are not committed are not part of the test"
# The chroot's own environment: only what a root login there would have.
in_chroot() { chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"; }
in_chroot git -c init.defaultBranch=main -c advice.detachedHead=false clone -q /root/porongo.bundle /root/porongo
[[ "$(in_chroot git -C /root/porongo rev-parse HEAD)" == "$commit" ]] ||
  { echo "test-in-chroot.sh: the clone in the chroot is not at $commit" >&2; exit 1; }
# In the background, so that a signal to this script is handled at once rather than when
# the tests end.
in_chroot bash -c 'cd /root/porongo && bash scripts/test.sh' &
wait $! && status=0 || status=$?
echo "test-in-chroot.sh: bash scripts/test.sh in $suite exited with $status"
