#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's own 32-bit prefix.
# QS_WINEPREFIX overrides the prefix; without a display, windows cannot be
# created, so GUI tests need ./x test (one Xvfb for the whole run).
set -e
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX="${QS_WINEPREFIX:-$PWD/wineprefix}"
fi
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
