#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, but only those
# that are missing, so that it is cheap to run before every build.
set -euo pipefail

packages=(
  g++ make cmake ninja-build pkg-config
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
  libalglib-dev libjpeg-dev libfast-float-dev libnetcdf-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  unrtf xvfb xauth imagemagick python3 chromium
  clang libclang-rt-14-dev
  slurm-wlm munge
  lintian desktop-file-utils xdg-utils shared-mime-info
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
run=()
if ((EUID != 0)); then
  if command -v sudo >/dev/null; then
    run=(sudo)
  else
    echo "These packages are missing and this user cannot install them: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
"${run[@]}" apt-get update -qq
"${run[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
