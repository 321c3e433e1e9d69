#!/usr/bin/env bash
# Starts Veldra from a build folder.
set -euo pipefail
build=${1:-build}
exec "$build/src/veldra"
