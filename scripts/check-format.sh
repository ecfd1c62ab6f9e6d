#!/usr/bin/env bash
# Fails when clang-format (with the repo's .clang-format) would change any C++ file in src, tools
# or tests. Fix with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(find src tools tests -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
clang-format --dry-run -Werror "${files[@]}"
echo "format: ok (${#files[@]} files)"
