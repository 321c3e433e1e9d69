#!/usr/bin/env bash
# Starts Veldra from a build folder. Until the window arrives, shows the sample model
# through the command-line companion.
set -euo pipefail
build=${1:-build}
exec "$build/src/veldra-cli" info "$build/samples/cube.md3"
