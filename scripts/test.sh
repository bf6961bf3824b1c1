#!/usr/bin/env bash
# Installs what is missing, builds Quillet with AddressSanitizer and UBSan (warnings are errors), and
# runs every test case, as many at once as there are processors.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build-test" -DCMAKE_BUILD_TYPE=Debug -DQUILLET_SANITIZE=ON -DQUILLET_TESTS=ON -DQUILLET_WERROR=ON >/dev/null
cmake --build "$here/build-test" -j"$(nproc)"
cd "$here/build-test"
QT_QPA_PLATFORM=offscreen ctest -j"$(nproc)" --output-on-failure "$@"
