#!/usr/bin/env bash
# The floor check must refuse what breaks the floors: copies of the tree's
# product folders, each with one bad include added, must fail the check, and
# the untouched copy must pass.
set -euo pipefail
root=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$root"/{core,platform,library,controls,activex,container} "$work"/ 2>/dev/null
mkdir -p "$work/tools"
cp "$root/tools/check-layers.sh" "$work/tools/"

check() { bash "$work/tools/check-layers.sh" "$work" >/dev/null; }
check || { echo "FAIL: the untouched tree does not pass"; exit 1; }

failures=0
expect_refused() {  # expect_refused <file> <line> <what>
  local file=$work/$1
  cp "$file" "$file.keep"
  printf '%s\n' "$2" >>"$file"
  if check; then echo "FAIL: not refused: $3"; failures=$((failures + 1)); fi
  mv "$file.keep" "$file"
}
expect_refused core/variant.h '#include "platform/platform.h"' "core includes the platform"
expect_refused platform/platform.h '#include "library/control.h"' "platform includes the frame"
expect_refused library/control.h '#include "controls/addremove/addremove.h"' "frame includes a control"
expect_refused controls/addremove/addremove.h '#include "activex/com_util.h"' "control includes the server"
expect_refused controls/addremove/list_text.h '#include "platform/headless/headless_platform.h"' \
  "control includes one platform's implementation"
expect_refused platform/headless/headless_surface.h '#include "platform/win32/win32_gdi.h"' \
  "one platform includes the other"
expect_refused library/host.h '#include <windows.h>' "windows.h in the frame"
expect_refused controls/addremove/list_text.cpp '#include <OleAuto.h>' "a COM header in a control"
expect_refused container/container.h '#include "core/variant.h"' "the container includes a floor"
mkdir -p "$work/controls/other"
printf '#include "controls/addremove/addremove.h"\n' >"$work/controls/other/other.h"
if check; then echo "FAIL: not refused: one control includes another"; failures=$((failures + 1)); fi
rm -r "$work/controls/other"

check || { echo "FAIL: the restored tree does not pass"; exit 1; }
[ "$failures" -eq 0 ] && echo "check-layers refuses every bad include tried"
exit "$failures"
