# Shared by the build scripts: installs the Debian packages Vorlo needs and
# configures the build folder.
set -euo pipefail

VORLO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VORLO_BUILD="${VORLO_BUILD:-$VORLO_ROOT/build}"
VORLO_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev libgtest-dev libgmock-dev fonts-liberation xdg-utils trash-cli
  dpkg-dev file appstream libsystemd-dev pkg-config dbus systemd lintian)

vorlo_install_packages() {
  local missing=()
  for p in "${VORLO_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

vorlo_configure() {
  cmake -S "$VORLO_ROOT" -B "$VORLO_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
}
