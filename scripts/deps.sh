# Sourced by the scripts: installs the Debian packages the builds need when
# they are missing and the script runs as root.
velk_need() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "missing Debian packages: ${missing[*]} (install them, or run as root)" >&2
        return 1
    fi
    echo "installing: ${missing[*]}"
    if [ -z "${VELK_APT_UPDATED:-}" ]; then
        apt-get update -qq
        VELK_APT_UPDATED=1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The 32-bit Wine loader (wine32:i386) needs the i386 architecture.  An apt
# failure is retried once; then the run stops with the reason.
velk_need_wine32() {
    [ -x /usr/lib/wine/wine ] && dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null |
        grep -q 'install ok installed' && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "missing: wine32:i386 (as root: dpkg --add-architecture i386; apt-get update;" \
             "apt-get install wine32:i386)" >&2
        return 1
    fi
    local attempt
    for attempt in 1 2; do
        echo "installing: wine32:i386 (attempt $attempt)"
        if dpkg --add-architecture i386 && apt-get update -qq &&
            DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
                wine32:i386 >/dev/null && [ -x /usr/lib/wine/wine ]; then
            return 0
        fi
        [ "$attempt" = 1 ] && sleep 10
    done
    echo "error: could not install wine32:i386 from the Debian archive after two attempts;" \
         "the 32-bit Windows host tests cannot run" >&2
    return 1
}

VELK_BASE_PACKAGES=(cmake ninja-build g++ python3 libgtest-dev libgmock-dev libbenchmark-dev
                    nlohmann-json3-dev libcli11-dev libeigen3-dev libhwy-dev)
VELK_CROSS_PACKAGES=(g++-i686-linux-gnu g++-mingw-w64-i686 g++-mingw-w64-x86-64)
# The MATLAB/Octave gateway's test (octave, mkoctfile) and the consumer test
# of the installed library (pkg-config).
VELK_HOST_PACKAGES=(octave liboctave-dev pkgconf)

# The sanitizer runtime package of the installed clang: libclang-rt-N-dev
# for clang N.
velk_clang_rt_package() {
    local major
    major="$(clang --version 2>/dev/null | sed -n 's/.*clang version \([0-9][0-9]*\)\..*/\1/p' | head -n 1)"
    if [ -z "$major" ]; then
        echo "cannot read the version of clang (clang --version)" >&2
        return 1
    fi
    echo "libclang-rt-$major-dev"
}

# ctest with the arguments given.  A test whose tool is missing reports
# itself skipped (exit status 77) with its reason on its output, which is
# shown here; with VELK_REQUIRE_ALL=1 (scripts/test) a skipped test fails the
# run.
velk_ctest() {
    local log status name
    log="$(mktemp)"
    status=0
    { ctest "$@" 2>&1 || echo "ctest status $?"; } | tee "$log"
    grep -q '^ctest status ' "$log" && status=1
    if grep -q '(Skipped)' "$log"; then
        for name in $(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "$log"); do
            echo "skipped: $name: $(ctest "$@" -R "^$name\$" -V 2>&1 | sed -n 's/^[0-9]*: skipped: //p' | head -n 1)"
        done
        if [ "${VELK_REQUIRE_ALL:-0}" = 1 ]; then
            echo "required tests were skipped (VELK_REQUIRE_ALL=1)" >&2
            status=1
        fi
    fi
    rm -f "$log"
    return "$status"
}

# configure, build and test one preset
velk_preset() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
}
