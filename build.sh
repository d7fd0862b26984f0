#!/usr/bin/env bash
# Quick start on a fresh Debian 12 machine (as root, or with sudo):
#   ./build.sh test          install what the build needs, build the dev preset, run every test
#   ./build.sh run [ARGS]    the same set-up, then run modelinfo with ARGS (default: 0x320000)
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ qtbase5-dev pkg-config)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "build.sh: installing ${missing[*]}" >&2
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build_dev() {
    install_missing
    cmake --preset dev >/dev/null
    cmake --build --preset dev
}

case "${1:-}" in
test)
    build_dev
    ctest --preset dev
    ;;
run)
    shift
    build_dev >/dev/null
    exec build/dev/tools/modelinfo/modelinfo "$@"
    ;;
*)
    echo "usage: $0 test | run [modelinfo arguments]" >&2
    exit 2
    ;;
esac
