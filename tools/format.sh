#!/usr/bin/env bash
# Formats with clang-format (the root .clang-format) the C++ files named,
# or without names the C++ files changed against HEAD (staged, unstaged
# and new). Only *.cpp and *.h files are ever passed to it: clang-format
# reads any other file as C++ and mangles it (CMake files above all).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <({ git diff --name-only --diff-filter=AM HEAD; git ls-files --others --exclude-standard; } | sort -u)
fi
cpp=()
for file in "${files[@]}"; do
  case $file in
    *.cpp | *.h) [ -f "$file" ] && cpp+=("$file") ;;
    *) echo "format: left alone (not C++): $file" >&2 ;;
  esac
done
[ ${#cpp[@]} -eq 0 ] || clang-format -i "${cpp[@]}"
