#!/usr/bin/env bash
# The house style: every C++ file as clang-format writes it, every shell script clean under
# the shell-script checker, and no two paths that differ only in letter case (a checkout on a
# case-insensitive file system would keep only one of them).
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
mapfile -t clashes < <(files '*' | sort -f | uniq -Di)
if [ ${#clashes[@]} -gt 0 ]; then
  echo "style: paths that differ only in letter case:" >&2
  printf '  %s\n' "${clashes[@]}" >&2
  exit 1
fi
echo "style: ${#sources[@]} C++ files formatted, $((${#scripts[@]} + 3)) scripts clean"
