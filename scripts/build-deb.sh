#!/usr/bin/env bash
# Builds the Debian package in a release build folder and checks it with lintian:
#   scripts/build-deb.sh [--check] BUILD-FOLDER
# Prints the path of the .deb. Installs nothing (scripts/package.sh does). Without lintian the package is
# built but not checked; with --check (the test "package") nothing is built then, and the exit status is
# 77, "skipped". Any lintian tag, down to the pedantic ones, fails.
set -euo pipefail
check_only=false
if [ "${1:-}" = "--check" ]; then check_only=true; shift; fi
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(mkdir -p "$1" && cd "$1" && pwd)"

if ! command -v lintian >/dev/null; then
  if $check_only; then
    echo "lintian is not installed: the package is neither built nor checked (scripts/package.sh installs it)"
    exit 77
  fi
  echo "lintian is not installed: the package is not checked" >&2
fi

# The hardening of Debian's own packages: fortify, stack protector, relro with bind-now, PIE. Taken in
# the source folder, so that -ffile-prefix-map keeps the build path out of the program.
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
cd "$here"
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF -DQUILLET_SANITIZE=OFF \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" --target quillet >&2
rm -f "$build"/quillet_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
package="$(ls "$build"/quillet_*.deb)"

if command -v lintian >/dev/null; then
  lintian --display-info --pedantic --fail-on error,warning,info,pedantic "$package" >&2
fi
echo "$package"
