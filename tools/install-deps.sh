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
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
