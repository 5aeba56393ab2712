#!/usr/bin/env bash
# Installs what is missing, builds and starts the editor.
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_missing_packages
build "$STRATOMARK_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
exec "$STRATOMARK_ROOT/build/stratomark"
