#!/bin/sh
# count_lines.sh: non-blank lines of library code against tests, so the test share is reproducible.
# Code: *.cpp, *.h, *.in under src, include, compiler, cli.
# Tests: *.cpp, *.h, CMakeLists.txt, *.cmake under tests/, except the data in tests/data.
# Usage: tools/count_lines.sh [-v]   (-v lists the test folders as well)
set -eu
cd "$(dirname "$0")/.."

nonblank() { xargs -0 -r cat | grep -c -v '^[[:space:]]*$' || true; }

code=$(find src include compiler cli -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.in' \) \
    -print0 | nonblank)
tests=$(find tests -path tests/data -prune -o -type f \
    \( -name '*.cpp' -o -name '*.h' -o -name 'CMakeLists.txt' -o -name '*.cmake' \) -print0 |
    nonblank)

if [ "${1:-}" = "-v" ]; then
    for dir in tests/*/; do
        [ "$dir" = "tests/data/" ] && continue
        n=$(find "$dir" -type f \( -name '*.cpp' -o -name '*.h' -o -name 'CMakeLists.txt' \
            -o -name '*.cmake' \) -print0 | nonblank)
        printf '%6d %s\n' "$n" "$dir"
    done | sort -rn
fi
runtime=$(find src include -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.in' \) -print0 | nonblank)
testcxx=$(find tests -path tests/data -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
    nonblank)
printf 'code  %d\ntests %d\nshare %d%%\n' "$code" "$tests" $((tests * 100 / code))
printf 'runtime (src, include) %d, test C++ %d: share %d.%d%%\n' "$runtime" "$testcxx" \
    $((testcxx * 100 / runtime)) $((testcxx * 1000 / runtime % 10))
