#!/usr/bin/env bash
# Builds the Debian package from a configured and built build folder and
# checks it: its file list, its dependencies, the AppStream metadata, the
# changelog's version, lintian, and that vorlo-cli runs from a root it was
# unpacked into.
# Usage: check_package.sh BUILD_DIR
set -euo pipefail
root_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:?usage: check_package.sh BUILD_DIR}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail() {
  echo "Package check failed: $*" >&2
  exit 1
}

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log" >&2
  fail "cpack -G DEB did not build the package"
}
debs=("$work"/out/vorlo_*.deb)
[ -f "${debs[0]}" ] || fail "no vorlo_*.deb in the cpack output"
deb="${debs[0]}"

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's#^\./#/#' >"$work/list"
expected=(
  /usr/bin/vorlo
  /usr/bin/vorlo-cli
  /usr/share/man/man1/vorlo.1.gz
  /usr/share/man/man1/vorlo-cli.1.gz
  /usr/share/applications/vorlo.desktop
  /usr/share/metainfo/io.invalid.Vorlo.metainfo.xml
  /usr/share/bash-completion/completions/vorlo-cli
  /usr/share/icons/hicolor/scalable/apps/vorlo.svg
  /usr/share/doc/vorlo/changelog.gz
  /usr/share/doc/vorlo/copyright
)
for size in 16 32 48 64 128 256; do expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/vorlo.png"); done
for topic in "$root_dir"/help/*.html; do expected+=("/usr/share/vorlo/help/$(basename "$topic")"); done
for path in "${expected[@]}"; do
  grep -qxF "$path" "$work/list" || fail "$path is missing from $(basename "$deb")"
done
# Nothing but the programs and their shared data: no libraries, headers or tests.
strays="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | grep -vE '^\./usr/(bin/vorlo(-cli)?|share/.*)$' || true)"
[ -z "$strays" ] || fail "unexpected files in the package: $strays"

depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libqt6widgets6 libc6 libstdc++6; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Section)" = utils ] || fail "section is not utils"

version="$(dpkg-deb -f "$deb" Version)"
grep -q "<release version=\"$version\"" "$root_dir/packaging/io.invalid.Vorlo.metainfo.xml" ||
  fail "the metainfo has no release $version: add it to packaging/io.invalid.Vorlo.metainfo.xml"

# lintian: no error (its warnings and notes are shown, not fatal).
command -v lintian >/dev/null || fail "lintian is not installed"
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || {
  cat "$work/lintian.log" >&2
  fail "lintian reports errors for $(basename "$deb")"
}
grep -v '^running with root privileges' "$work/lintian.log" || true

dpkg -x "$deb" "$work/root"
zcat "$work/root/usr/share/doc/vorlo/changelog.gz" | head -n 1 | grep -qF "vorlo ($version) " ||
  fail "the changelog's newest entry is not $version: add one to packaging/changelog"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/io.invalid.Vorlo.metainfo.xml" >"$work/as.log" 2>&1 || {
  cat "$work/as.log" >&2
  fail "appstreamcli validate rejects the metainfo"
}
appstreamcli validate-tree --no-net "$work/root" >"$work/tree.log" 2>&1 || {
  cat "$work/tree.log" >&2
  fail "appstreamcli validate-tree rejects the installed tree (desktop entry, icon or metainfo)"
}
bash -n "$work/root/usr/share/bash-completion/completions/vorlo-cli" || fail "the bash completion does not parse"
for page in vorlo vorlo-cli; do
  zcat "$work/root/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH ${page^^} 1" || fail "man page $page(1) is not readable"
done

for program in vorlo vorlo-cli; do
  ! ldd "$work/root/usr/bin/$program" | grep -q "not found" || fail "$program needs a library the system lacks"
done
mkdir "$work/home"
out="$(env -i HOME="$work/home" PATH=/usr/bin:/bin LC_ALL=C "$work/root/usr/bin/vorlo-cli" --version)" ||
  fail "the packaged vorlo-cli --version failed"
[[ "$out" == "Vorlo - "*"version $version."* ]] || fail "the packaged vorlo-cli printed: $out"
[ -z "$(ls -A "$work/home")" ] || fail "vorlo-cli --version wrote into the home folder"

# A schedule set with the packaged vorlo-cli runs that very program: here
# the one in the unpacked root, /usr/bin/vorlo-cli once installed. A
# stand-in systemctl answers; the home folder is the check's own.
mkdir -p "$work/bin" "$work/home-schedule"
printf '#!/bin/sh\necho Version=0\n' >"$work/bin/systemctl"
chmod +x "$work/bin/systemctl"
env -i HOME="$work/home-schedule" PATH="$work/bin:/usr/bin:/bin" LC_ALL=C "$work/root/usr/bin/vorlo-cli" schedule weekly \
  >/dev/null || fail "the packaged vorlo-cli could not set a schedule"
grep -qxF "ExecStart=\"$work/root/usr/bin/vorlo-cli\" clean --scheduled --yes" \
  "$work/home-schedule/.config/systemd/user/vorlo-clean.service" ||
  fail "the packaged vorlo-cli's schedule does not run that vorlo-cli"

echo "Package check passed: $(basename "$deb")"
