#!/usr/bin/env bash
# Builds the Debian package of Vorlo (a Release build with the window) and
# prints the path of the .deb.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
VORLO_BUILD="${VORLO_PACKAGE_BUILD:-$VORLO_ROOT/build-package}"
vorlo_install_packages
cmake -S "$VORLO_ROOT" -B "$VORLO_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORLO_BUILD_GUI=ON -DVORLO_BUILD_TESTS=OFF
cmake --build "$VORLO_BUILD"
(cd "$VORLO_BUILD" && cpack -G DEB >/dev/null)
ls "$VORLO_BUILD"/vorlo_*.deb
