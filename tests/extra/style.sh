#!/usr/bin/env bash
# The house style: every C++ file as clang-format writes it, and every shell script clean
# under the shell-script checker.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
files() { # the project's own files matching the patterns, without the build folders
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files "$@"
  else
    local pattern args=()
    for pattern in "$@"; do args+=(-o -name "$pattern"); done
    find src tests tools bench -type f \( -false "${args[@]}" \) | sort
  fi
}
mapfile -t sources < <(files '*.cpp' '*.h')
clang-format --dry-run --Werror "${sources[@]}"
mapfile -t scripts < <(files '*.sh')
shellcheck run test .ci/run "${scripts[@]}"
echo "style: ${#sources[@]} C++ files formatted, $((${#scripts[@]} + 3)) scripts clean"
