#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_missing_packages
build "$STRATOMARK_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cd "$STRATOMARK_ROOT/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure
