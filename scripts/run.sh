#!/usr/bin/env bash
# Builds Vorlo and starts it. A build folder made before keeps its options
# (with tests or without); a new one is made without tests.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
vorlo_install_packages
if [ -f "$VORLO_BUILD/CMakeCache.txt" ]; then
  vorlo_configure
else
  vorlo_configure -DVORLO_BUILD_TESTS=OFF
fi
cmake --build "$VORLO_BUILD" --target vorlo
exec "$VORLO_BUILD/bin/vorlo" "$@"
