#!/usr/bin/env bash
# Runs a Windows host program under Wine in a fresh, temporary Wine prefix.
#   run_wine.sh WINE_LOADER host.exe library.dll [ARG...]
#   run_wine.sh --env VAR host.exe library.dll   (the loader named in $VAR;
#                                                 exit 77, skipped, if unset)
set -euo pipefail
if [ "$1" = "--env" ]; then
    wine="${!2:-}"
    shift 2
    if [ -z "$wine" ]; then
        echo "skipped: no Wine loader for this host given"
        exit 77
    fi
else
    wine="$1"
    shift
fi
host="$1"
dll="$2"
if [ ! -x "$wine" ] && ! command -v "$wine" >/dev/null; then
    echo "no Wine loader at $wine (apt-get install --no-install-recommends wine64)" >&2
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
# The DLL by its path on drive Z:, which Wine maps to /.
windll="Z:$(readlink -f "$dll" | tr / '\\')"
"$wine" "$host" "$windll" "${@:3}"
