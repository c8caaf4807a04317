#!/usr/bin/env bash
# Checks the floors of the tree from its #include lines.
#
#   tools/check-layers.sh [ROOT]           fails (exit 1) on any include that
#                                          runs from a lower floor to a higher
#                                          one, sideways between two
#                                          platforms or two controls, out of
#                                          the container, or on a Windows or
#                                          COM header outside the floors that
#                                          may use them
#   tools/check-layers.sh --counts [ROOT]  prints the floor-to-floor include
#                                          counts instead
#
# Floors, lowest first: core (1), platform (2), library (3), controls (4),
# activex (5). Above the platform only its interfaces are seen (the server
# alone may name platform/win32); a control never sees another control.
# container/ stands apart: it includes only itself. Includes are
# written from the root ("core/variant.h"); an include without a folder is a
# file beside the includer.
set -euo pipefail

counts=0
if [ "${1:-}" = "--counts" ]; then counts=1; shift; fi
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

# floor <path>: sets f_num and f_room, where a room is what may not see its
# siblings (one platform, one control); f_num is empty outside the floors.
floor() {
  f_num="" f_room=""
  case $1 in
    core/*) f_num=1 f_room=core ;;
    platform/headless/*) f_num=2 f_room=platform/headless ;;
    platform/win32/*) f_num=2 f_room=platform/win32 ;;
    platform/*) f_num=2 f_room=platform ;;
    library/*) f_num=3 f_room=library ;;
    controls/*/*) local rest=${1#controls/}; f_num=4 f_room=controls/${rest%%/*} ;;
    activex/*) f_num=5 f_room=activex ;;
    container/*) f_num=0 f_room=container ;;
  esac
}

# Headers of the Windows API and of COM: only the real platform, the server
# and the container may include them.
windows_headers='^(windows|ole2|oleauto|olectl|ocidl|objidl|oaidl|objbase|unknwn|shellapi|shlobj|commdlg|mmsystem|commctrl|wtypes|winuser|wingdi|winbase)\.h$'

include_line='^[[:space:]]*#[[:space:]]*include[[:space:]]*(["<])([^">]+)[">]'
failures=0
declare -A edge
while IFS= read -r file; do
  floor "$file"; from_floor=$f_num from_room=$f_room
  while IFS= read -r line; do
    [[ $line =~ $include_line ]] || continue
    kind=${BASH_REMATCH[1]} target=${BASH_REMATCH[2]}
    if [ "$kind" = "<" ]; then
      lower=${target,,}
      if [[ $lower =~ $windows_headers ]] &&
         [[ $from_room != platform/win32 && $from_room != activex && $from_room != container ]]; then
        echo "$file: <$target> is a Windows header outside platform/win32, activex/ and container/"
        failures=$((failures + 1))
      fi
      continue
    fi
    [[ $target == */* ]] || target="$(dirname "$file")/$target"
    floor "$target"; to_floor=$f_num to_room=$f_room
    [ -n "$to_floor" ] || continue
    edge["${from_room%%/*} -> ${to_room%%/*}"]=$(( ${edge["${from_room%%/*} -> ${to_room%%/*}"]:-0} + 1 ))
    bad=""
    if [ "$from_floor" = 0 ] || [ "$to_floor" = 0 ]; then
      [ "$from_room" = "$to_room" ] || bad="the container stands apart from the floors"
    elif [ "$to_floor" -gt "$from_floor" ]; then
      bad="runs up from floor $from_floor ($from_room) to floor $to_floor ($to_room)"
    elif [ "$to_floor" = "$from_floor" ] && [ "$to_room" != "$from_room" ] &&
         [ "$to_room" != platform ]; then
      bad="runs sideways from $from_room to $to_room"
    elif [[ $to_room == platform/* && $to_room != "$from_room" ]] &&
         ! [[ $to_room == platform/win32 && $from_room == activex ]]; then
      # Above the platform only its interfaces are seen; the server alone
      # stands on the real platform by name.
      bad="reaches into $to_room from $from_room"
    fi
    if [ -n "$bad" ]; then
      echo "$file: \"$target\" $bad"
      failures=$((failures + 1))
    fi
  done <"$file"
done < <(find core platform library controls activex container -type f \
           \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort)

if [ "$counts" = 1 ]; then
  for k in "${!edge[@]}"; do printf '%5d  %s\n' "${edge[$k]}" "$k"; done | sort -k2
  exit 0
fi
if [ "$failures" -gt 0 ]; then
  echo "check-layers: $failures include(s) break the floors"
  exit 1
fi
echo "check-layers: every include keeps to the floors"
