#!/usr/bin/env bash
# Shows the demo form in the test container and saves a screenshot of it.
#   tools/demo.sh <build-dir> <out.png>
# Needs a built windows-x86 tree. Registers QuorralSet.ocx in the build's
# own Wine prefix (idempotent), starts Xvfb when there is no display, and
# converts the container's BMP to PNG.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: tools/demo.sh <build-dir> <out.png>" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(cd "$1" && pwd)
out=$(realpath -m "$2")
bin="$build/bin"
export QS_WINEPREFIX="$build/wineprefix"
export WINEPREFIX="$QS_WINEPREFIX"

# Windows paths through Wine's Z: drive.
winpath() { echo "Z:${1//\//\\}"; }

run_demo() {
  # Registered for the current user only; the container finds per-user
  # classes itself where Wine's COM does not look them up.
  "$here/wine-run.sh" regsvr32 /s /n /i:user "$(winpath "$bin/QuorralSet.ocx")"
  "$here/wine-run.sh" "$bin/qscontainer.exe" --form "$(winpath "$1/addremove.qsform")" \
    --screenshot "$(winpath "$1/demo.bmp")" --quiet
}

if [ -n "${QS_DEMO_INNER:-}" ]; then
  run_demo "$QS_DEMO_TMP"
  exit
fi

for f in "$bin/qscontainer.exe" "$bin/QuorralSet.ocx"; do
  [ -f "$f" ] || { echo "demo: $f is missing; build the windows-x86 preset first" >&2; exit 1; }
done
command -v convert >/dev/null || { echo "demo: imagemagick's convert is missing" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$root/demo/addremove.qsform" "$tmp/addremove.qsform"

if [ -n "${DISPLAY:-}" ]; then
  run_demo "$tmp"
else
  # One X server for the registration and the container: the first Wine
  # program in a prefix starts its desktop process, which keeps the display
  # it found.
  xvfb-run -a -s "-screen 0 1024x768x24" \
    env QS_DEMO_INNER=1 QS_DEMO_TMP="$tmp" bash "$0" "$1" "$2"
fi
[ -s "$tmp/demo.bmp" ] || { echo "demo: the container wrote no screenshot" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
convert "$tmp/demo.bmp" "$out"
echo "$out"
