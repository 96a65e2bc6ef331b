#!/usr/bin/env bash
# Installs the Debian packages listed in the files given as arguments when
# any is missing: with apt-get when run as root, otherwise prints the exact
# command to run and fails.
set -euo pipefail
packages=()
for list in "$@"; do
  while IFS= read -r line; do
    line="${line%%#*}"; line="${line//[[:space:]]/}"
    [ -n "$line" ] && packages+=("$line")
  done < "$list"
done
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Missing packages. Run:" >&2
  echo "  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
