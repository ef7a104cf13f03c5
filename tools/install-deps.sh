#!/usr/bin/env bash
# Installs the Debian packages listed in the given tools/deps folders that are missing.
# Usage: tools/install-deps.sh run [test]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
wanted=()
for group in "$@"; do
  for list in "$here"/deps/"$group"/*.txt; do
    [ -e "$list" ] || continue
    while read -r pkg _; do
      [[ -z "$pkg" || "$pkg" == \#* ]] && continue
      wanted+=("$pkg")
    done < "$list"
  done
done
missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Velmor needs ${#missing[@]} Debian package(s) that are not installed: ${missing[*]}" >&2
if ! command -v apt-get >/dev/null; then
  echo "This system has no apt-get: install the same packages with its own package manager," >&2
  echo "then run this again." >&2
  exit 1
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null || ! { [ -t 0 ] || sudo -n true 2>/dev/null; }; then
    echo "Installing them needs root, and sudo cannot be used here. Ask someone with root" >&2
    echo "rights to run, or run as root yourself (su -c '...'):" >&2
    echo "  apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
    echo "then run this again." >&2
    exit 1
  fi
  sudo="sudo"
  echo "Installing them with sudo, which may ask for your password..." >&2
else
  echo "Installing them..." >&2
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
