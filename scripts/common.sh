# Shared by run.sh and test.sh: installs what is missing and builds the project.
# shellcheck shell=bash

STRATOMARK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
STRATOMARK_PACKAGES=(cmake g++ make qtbase5-dev qtbase5-dev-tools libqwt-qt5-dev
                     qttranslations5-l10n)
# The fuzz targets' compiler and its libFuzzer.
STRATOMARK_FUZZ_PACKAGES=(clang libclang-rt-dev)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# install_missing_packages [packages...], the project's own by default
install_missing_packages() {
    local missing=()
    local package
    local wanted=("$@")
    [ "${#wanted[@]}" -gt 0 ] || wanted=("${STRATOMARK_PACKAGES[@]}")
    for package in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
    fi
}

# build DIR [extra cmake arguments...]
build() {
    local dir=$1
    shift
    cmake -S "$STRATOMARK_ROOT" -B "$dir" "$@"
    cmake --build "$dir" -j "$(nproc)"
}
