#!/usr/bin/env bash
# CI (as root): builds the release Debian package, checks it with lintian (errors fail), installs it
# with apt-get, runs the demo export from the installed files only, compares its CSV summary with the
# same export by the build tree, and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
build="$root/build/package"

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
# Release build without tests, with the dialogs when the sources have them, and the hardening that
# Debian packages get (fortified functions, stack protector, read-only relocations bound at start).
hardening="-D_FORTIFY_SOURCE=2 -fstack-protector-strong"
linking="-Wl,-z,relro -Wl,-z,now"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORLIX_TESTS=OFF -DVORLIX_GUI=ON \
  -DCMAKE_C_FLAGS="$hardening" -DCMAKE_CXX_FLAGS="$hardening" \
  -DCMAKE_EXE_LINKER_FLAGS="$linking" -DCMAKE_SHARED_LINKER_FLAGS="$linking" \
  "${launcher[@]}" >/dev/null
# The build's own output only when it fails, so that the log shows the package's results.
cmake --build "$build" -j2 >"$build/build.log" 2>&1 || { tail -n 60 "$build/build.log"; exit 1; }
rm -f "$build"/vorlix_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/vorlix_*.deb)
deb="${debs[0]}"
version="$(dpkg-deb -f "$deb" Version)"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes, installed size $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "depends: $(dpkg-deb -f "$deb" Depends)"

# lintian warns when it runs as root, as CI does; errors fail the check, warnings are shown.
set +e
lintian_out="$(lintian --fail-on error "$deb" 2>&1)"
lintian_status=$?
set -e
echo "lintian:"
printf '%s\n' "$lintian_out" | grep -v "running with root privileges" || true
[ "$lintian_status" -eq 0 ] || { echo "lintian reports errors" >&2; exit 1; }
echo "lintian: no errors"

tmp="$(mktemp -d)"
cleanup() {
  apt-get remove -y -qq --purge vorlix >/dev/null 2>&1 || true
  rm -rf "$tmp" "$build/bin/vorlix.ini"
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$tmp/apt.log" 2>&1 ||
  { cat "$tmp/apt.log"; exit 1; }
for f in /usr/bin/vorlix /usr/lib/vorlix/libnotes.so /usr/share/man/man1/vorlix.1.gz \
         /usr/share/doc/vorlix/copyright /usr/share/doc/vorlix/examples/sales-summary.xpp; do
  [ -f "$f" ] || { echo "the installed package lacks $f" >&2; exit 1; }
done

# Everything below uses only what the package installed: the program finds its settings file in
# $XDG_CONFIG_HOME/vorlix and its runtime without LD_LIBRARY_PATH.
unset LD_LIBRARY_PATH
export XDG_CONFIG_HOME="$tmp/config"
[ "$(/usr/bin/vorlix --version)" = "vorlix $version" ] || { echo "vorlix --version is not $version" >&2; exit 1; }
/usr/bin/vorlix --help | grep -qxF "  $XDG_CONFIG_HOME/vorlix/vorlix.ini" ||
  { echo "vorlix --help names another settings file" >&2; exit 1; }
cp -r /usr/share/doc/vorlix/examples "$tmp/installed"
mkdir -p "$XDG_CONFIG_HOME/vorlix"
sed -e "s|@PROGRAM_DIR@|/usr/lib/vorlix|" -e "s|@DEMO_DIR@|$tmp/installed|" \
  "$tmp/installed/vorlix.ini" >"$XDG_CONFIG_HOME/vorlix/vorlix.ini"
(cd "$tmp/installed" && vorlix sales-summary.xpp /nomsg) ||
  { echo "the installed program's demo export ended with exit code $?" >&2; exit 1; }
csv="$tmp/installed/out/demo/sales-summary.csv"

# The same export by the build tree is the reference for the CSV summary.
cp -r /usr/share/doc/vorlix/examples "$tmp/reference"
sed -e "s|@PROGRAM_DIR@|$build/bin|" -e "s|@DEMO_DIR@|$tmp/reference|" \
  "$tmp/reference/vorlix.ini" >"$build/bin/vorlix.ini"
(cd "$tmp/reference" && "$build/bin/vorlix" sales-summary.xpp /nomsg)
if ! cmp -s "$csv" "$tmp/reference/out/demo/sales-summary.csv"; then
  echo "the installed program's CSV summary differs from the build tree's" >&2
  exit 1
fi
rows=$(($(wc -l <"$csv") - 1))
[ "$rows" -gt 0 ] || { echo "the demo export wrote no rows" >&2; exit 1; }
echo "demo export from the installed files: exit code 0, $rows rows in sales-summary.csv, same as the build tree"

apt-get remove -y -qq --purge vorlix >/dev/null
[ ! -e /usr/bin/vorlix ] && [ ! -e /usr/lib/vorlix ] || { echo "removing the package left files" >&2; exit 1; }
echo "package removed"
