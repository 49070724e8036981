#!/usr/bin/env bash
# Builds Vorlo with its tests and benchmarks (so that they keep building)
# and runs every test; fails on any failing or missing test. Then runs the README's commands that start and install the
# program, and builds the Debian package from the same build and checks it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
vorlo_install_packages
vorlo_configure -DVORLO_BUILD_TESTS=ON -DVORLO_BUILD_BENCH=ON
cmake --build "$VORLO_BUILD"
export QT_QPA_PLATFORM=offscreen
(cd "$VORLO_BUILD" && ctest --output-on-failure --no-tests=error -j"$(nproc)")
bash "$VORLO_ROOT/scripts/check_readme_commands.sh" "$VORLO_BUILD"
bash "$VORLO_ROOT/scripts/check_package.sh" "$VORLO_BUILD"
