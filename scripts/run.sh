#!/usr/bin/env bash
# Builds Vorlo and starts it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
vorlo_install_packages
vorlo_configure -DVORLO_BUILD_TESTS=OFF
cmake --build "$VORLO_BUILD" --target vorlo
exec "$VORLO_BUILD/src/app/window/vorlo" "$@"
