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

VELK_BASE_PACKAGES=(cmake ninja-build g++ python3 libgtest-dev libgmock-dev libbenchmark-dev
                    nlohmann-json3-dev libcli11-dev libeigen3-dev)
VELK_CROSS_PACKAGES=(g++-i686-linux-gnu g++-mingw-w64-i686 g++-mingw-w64-x86-64)

# configure, build and test one preset
velk_preset() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
}
