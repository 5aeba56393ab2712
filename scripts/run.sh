#!/usr/bin/env bash
# Installs what is missing, builds and starts the editor.
#   scripts/run.sh          the editor with your own settings
#   scripts/run.sh --demo   the editor on the generated demo workspace, with throwaway settings
set -euo pipefail
source "$(dirname "$0")/common.sh"

install_missing_packages
build "$STRATOMARK_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

if [ "${1:-}" = "--demo" ]; then
    # The settings live under Qt's data location; pointing it at a temporary folder leaves the
    # user's own settings untouched.
    demo_data=$(mktemp -d)
    trap 'rm -rf "$demo_data"' EXIT
    mkdir -p "$demo_data/Stratomark"
    printf '[%%General]\nWorkSpace=%s\nFileIndex=1\n' "$STRATOMARK_ROOT/build/examples" \
        > "$demo_data/Stratomark/smk.ini"
    XDG_DATA_HOME="$demo_data" "$STRATOMARK_ROOT/build/stratomark"
else
    exec "$STRATOMARK_ROOT/build/stratomark"
fi
