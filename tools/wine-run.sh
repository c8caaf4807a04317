#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's own prefix.
# QS_WINEPREFIX overrides the prefix; QS_WINEARCH (win32, the default, or
# win64) picks the Wine that runs it. Without a display, windows cannot be
# created, so GUI tests need ./x test (one Xvfb for the whole run).
set -e
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX="${QS_WINEPREFIX:-$PWD/wineprefix}"
fi
export WINEARCH="${QS_WINEARCH:-win32}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ "$WINEARCH" = win64 ]; then
  # The wine launcher prefers the 32-bit loader whenever it is installed.
  export WINELOADER=/usr/lib/wine/wine64
  exec /usr/lib/wine/wine64 "$@"
fi
exec wine "$@"
