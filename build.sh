#!/usr/bin/env bash
# ./build.sh demo   installs what is missing, builds, runs the main job on an embedded input
# ./build.sh test   installs what is missing, builds, runs the whole test suite
set -euo pipefail
cd "$(dirname "$0")"

verb=${1:-}
case "$verb" in
  demo | test) ;;
  *) echo "usage: $0 demo|test" >&2; exit 2 ;;
esac

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

case "$verb" in
  demo) scripts/demo.sh build/bin ;;
  test) ctest --preset release -j2 --timeout 600 ;;
esac
