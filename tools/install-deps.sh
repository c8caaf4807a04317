#!/usr/bin/env bash
# Installs what the native and Windows builds and their tests need on a
# Debian 12 machine (run as root). Safe to run again: it installs only what
# is missing.
set -euo pipefail

native=(g++ cmake ninja-build googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev)
windows=(wine wine32:i386 wine64 g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix mingw-w64-tools xvfb xauth
         x11-apps imagemagick xdotool x11-utils)

missing=()
for p in "${native[@]}" "${windows[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && { echo "install-deps: everything is installed"; exit 0; }
echo "install-deps: installing ${missing[*]}"

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi

lists=/var/lib/apt/lists
update() {
  apt-get update -qq 2>&1 | grep -E '^(E|W):' || true
}
update

# A mirror caught mid-sync can serve an i386 security index whose size does
# not match its release file; apt then drops it and multiarch versions no
# longer agree. Retry, and failing that take the served index as it is.
for attempt in 1 2 3; do
  ls "$lists" | grep -q 'debian-security.*binary-i386_Packages' && break
  if [ "$attempt" -lt 3 ]; then sleep 5; update; continue; fi
  src=$(grep -rhE '^[^#]*https?://[^ ]*debian-security' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null |
        grep -oE 'https?://[^ ]*debian-security' | head -n 1 || true)
  [ -n "$src" ] || break
  host=$(echo "$src" | sed -E 's#^https?://##; s#/#_#g')
  tmp=$(mktemp)
  url="$src/dists/bookworm-security/main/binary-i386/Packages.xz"
  if { curl -fsS -o "$tmp" "$url" 2>/dev/null ||
       python3 -c 'import sys, urllib.request; urllib.request.urlretrieve(sys.argv[1], sys.argv[2])' "$url" "$tmp"; } &&
     xz -t "$tmp"; then
    xz -dc "$tmp" > "$lists/${host}_dists_bookworm-security_main_binary-i386_Packages"
    echo "install-deps: took the i386 security index as served"
  fi
  rm -f "$tmp"
done

apt-get install -y -qq --no-install-recommends "${missing[@]}" > /tmp/install-deps.log 2>&1 || {
  tail -n 40 /tmp/install-deps.log; exit 1; }
echo "install-deps: done"
