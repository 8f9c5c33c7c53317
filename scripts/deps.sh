#!/usr/bin/env bash
# Installs the Debian 12 packages pictrim needs, when any is missing.
# Usage: scripts/deps.sh [extra-package...]
set -euo pipefail

packages=(g++ cmake ninja-build qt6-base-dev libjpeg-dev libgtest-dev fonts-ipafont-gothic "$@")

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}" >&2
  if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root (or with sudo) to install them." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
