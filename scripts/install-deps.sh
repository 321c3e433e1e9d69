#!/usr/bin/env bash
# Installs every Debian package Veldra needs to build, test and run, skipping what is present.
# Runs apt-get update only when something is missing; uses sudo when not root.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libqt6opengl6-dev qt6-qpa-plugins
  libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri
  libjpeg-dev zlib1g-dev libzip-dev libtinygltf-dev nlohmann-json3-dev
  libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev
  assimp-utils unzip
  desktop-file-utils shared-mime-info libxml2-utils
  dpkg-dev file lintian appstream groff-base man-db
  xvfb xauth fonts-dejavu-core
  clang libclang-rt-14-dev clang-format
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# node runs the Khronos glTF validator the tests check exports with; any node will do.
if ! command -v node >/dev/null 2>&1; then
  missing+=(nodejs npm)
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The validator lives in the project's own folder (ignored by git), not in the system.
validator="$(cd "$(dirname "$0")/.." && pwd)/build-tools/gltf-validator"
if [ ! -f "$validator/node_modules/gltf-validator/package.json" ]; then
  echo "Installing: gltf-validator (npm) into $validator"
  mkdir -p "$validator"
  npm install --silent --no-audit --no-fund --prefix "$validator" gltf-validator@2.0.0-dev.3.10
fi
