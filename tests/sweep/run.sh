#!/usr/bin/env bash
# The cross-build sweep: the seeded calls of tests/host/sweep.c evaluated by
# the 64-bit and 32-bit Linux builds and the 64-bit and 32-bit DLLs under
# Wine (the 32-bit one where a 32-bit Wine is installed: /usr/lib/wine/wine,
# or the loader named in VELK_WINE32), then compared by
# compare.py: bit for bit where no C-runtime function intervenes, within
# per-routine bounds where one does.  The presets must be built.
#   tests/sweep/run.sh [PHYSICAL HOSTILE]   (calls per routine, 4000 each)
set -euo pipefail
cd "$(dirname "$0")/../.."
physical="${1:-4000}"
hostile="${2:-4000}"
out=build/sweep
mkdir -p "$out"
winpath() { echo "Z:$(readlink -f "$1" | tr / '\\')"; }

build/linux64/tests/sweep/velk_sweep "$physical" "$hostile" > "$out/linux64.txt"
build/linux32/tests/sweep/velk_sweep "$physical" "$hostile" > "$out/linux32.txt"
: > "$out/win64.txt"
bash tests/windows/run_wine.sh /usr/lib/wine/wine64 build/win64/tests/windows/sweep.exe \
    build/win64/velk_64bit.dll "$(winpath "$out/win64.txt")" "$physical" "$hostile"
args=(linux64="$out/linux64.txt" linux32="$out/linux32.txt" win64="$out/win64.txt")
wine32="${VELK_WINE32:-/usr/lib/wine/wine}"
if [ -x "$wine32" ]; then
    : > "$out/win32.txt"
    bash tests/windows/run_wine.sh "$wine32" build/win32/tests/windows/sweep.exe \
        build/win32/velk_32bit.dll "$(winpath "$out/win32.txt")" "$physical" "$hostile"
    args+=(win32="$out/win32.txt")
else
    echo "win32: not compared (no 32-bit Wine at $wine32)"
fi
python3 tests/sweep/compare.py "${args[@]}"
