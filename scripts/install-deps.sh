#!/usr/bin/env bash
# Installs the build dependencies with apt-get when any is missing (Debian 12, as root).
set -euo pipefail

packages=(
  cmake ninja-build g++ binutils pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev qt6-base-dev
  clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
