#!/usr/bin/env bash
# Quick start on a fresh Debian 12 machine (as root, or with sudo):
#   ./build.sh test          install what the build needs, build the dev preset, run every test
#   ./build.sh run [ARGS]    the same set-up, then run modelinfo with ARGS (default: 0x320000)
# With --qt6 after the command, the same against Qt 6 (the dev-qt6 preset, modelinfo-qt6):
#   ./build.sh test --qt6    ./build.sh run --qt6 [ARGS]
set -euo pipefail
cd "$(dirname "$0")"

. .ci/install-packages

command=${1:-}
shift || true
preset=dev
qt_packages=(qtbase5-dev)
modelinfo=build/dev/tools/modelinfo/modelinfo
if [ "${1:-}" = --qt6 ]; then
    shift
    preset=dev-qt6
    qt_packages=(qt6-base-dev)
    modelinfo=build/dev-qt6/tools/modelinfo/modelinfo-qt6
fi

build_dev() {
    install_packages cmake ninja-build g++ "${qt_packages[@]}" pkg-config
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
}

case "$command" in
test)
    build_dev
    ctest --preset "$preset"
    ;;
run)
    build_dev >/dev/null
    exec "$modelinfo" "$@"
    ;;
*)
    echo "usage: $0 test [--qt6] | run [--qt6] [modelinfo arguments]" >&2
    exit 2
    ;;
esac
