#!/usr/bin/env bash
# Runs a Windows host program under Wine in a fresh, temporary Wine prefix.
#   run_wine.sh WINE_LOADER host.exe [host arguments; a .dll path is passed
#               as its Windows path]
#   run_wine.sh --optional WINE_LOADER ...   a missing loader skips the test
#               (exit 77, with the reason; scripts/test counts a skip as a
#               failure)
#
# The prefix is made first (wineboot --init) and checked: on a fresh machine
# Wine has been seen to fail to make one now and then ("could not load
# kernel32.dll" before the program starts). Only that start-up, where none of
# the program has run, is tried again in a new prefix, at most three times;
# whatever the program itself does is reported as it is.
set -euo pipefail
optional=0
if [ "$1" = "--optional" ]; then
    optional=1
    shift
fi
wine="$1"
host="$2"
shift 2
if [ ! -x "$wine" ] && ! command -v "$wine" >/dev/null; then
    case "$wine" in
        *wine64) pkg=wine64 ;;
        *) pkg="wine32:i386 (after dpkg --add-architecture i386 and apt-get update)" ;;
    esac
    if [ "$optional" = 1 ]; then
        echo "skipped: no Wine loader at $wine (apt-get install $pkg)"
        exit 77
    fi
    echo "no Wine loader at $wine (apt-get install --no-install-recommends $pkg)" >&2
    exit 1
fi

server="$(dirname "$(readlink -f "$(command -v "$wine")")")/wineserver"
prefix=""
log="$(mktemp)"
drop_prefix() {
    # End the wine server of this prefix only, then remove the prefix.
    if [ -n "$prefix" ]; then
        if [ -x "$server" ]; then WINEPREFIX="$prefix" "$server" -k 2>/dev/null || true; fi
        rm -rf "$prefix"
        prefix=""
    fi
}
trap 'drop_prefix; rm -f "$log"' EXIT
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# DLLs by their path on drive Z:, which Wine maps to /.
args=()
for a in "$@"; do
    case "$a" in
        *.dll) args+=("Z:$(readlink -f "$a" | tr / '\\')") ;;
        *) args+=("$a") ;;
    esac
done

started_badly() {
    grep -q "could not load kernel32.dll" "$log"
}

for attempt in 1 2 3; do
    prefix="$(mktemp -d)"
    export WINEPREFIX="$prefix"
    status=0
    "$wine" wineboot --init >"$log" 2>&1 || status=$?
    if [ "$status" != 0 ] || [ ! -f "$prefix/drive_c/windows/system32/kernel32.dll" ] || started_badly; then
        echo "run_wine: Wine did not make the prefix (attempt $attempt, wineboot status $status):" >&2
        sed 's/^/  | /' "$log" >&2
        drop_prefix
        continue
    fi
    status=0
    "$wine" "$host" "${args[@]}" 2>"$log" || status=$?
    cat "$log" >&2
    if [ "$status" != 0 ] && started_badly; then
        echo "run_wine: Wine did not start the program (attempt $attempt); again in a new prefix" >&2
        drop_prefix
        continue
    fi
    exit "$status"
done
echo "run_wine: Wine failed to start three times" >&2
exit 1
