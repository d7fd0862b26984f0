#!/usr/bin/env bash
# Quick start on a fresh Debian 12 machine (as root, or with sudo):
#   ./build.sh test          install what the build needs, build the dev preset, run every test
#   ./build.sh run [ARGS]    the same set-up, then run modelinfo with ARGS (default: 0x320000)
set -euo pipefail
cd "$(dirname "$0")"

. .ci/install-packages

build_dev() {
    install_packages cmake ninja-build g++ qtbase5-dev pkg-config
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
