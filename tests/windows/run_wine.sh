#!/usr/bin/env bash
# Runs a Windows host program under Wine in a fresh, temporary Wine prefix.
#   run_wine.sh WINE_LOADER host.exe [host arguments; a .dll path is passed
#               as its Windows path]
#   run_wine.sh --optional WINE_LOADER ...   a missing loader skips the test
#               (exit 77, with the reason; scripts/test counts a skip as a
#               failure)
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

prefix="$(mktemp -d)"
server="$(dirname "$(readlink -f "$(command -v "$wine")")")/wineserver"
cleanup() {
    # End the wine server of this prefix only, then remove the prefix.
    if [ -x "$server" ]; then WINEPREFIX="$prefix" "$server" -k 2>/dev/null || true; fi
    rm -rf "$prefix"
}
trap cleanup EXIT
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# DLLs by their path on drive Z:, which Wine maps to /.
args=()
for a in "$@"; do
    case "$a" in
        *.dll) args+=("Z:$(readlink -f "$a" | tr / '\\')") ;;
        *) args+=("$a") ;;
    esac
done
"$wine" "$host" "${args[@]}"
