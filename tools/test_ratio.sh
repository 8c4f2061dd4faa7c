#!/usr/bin/env bash
# The size of the tests against the code they test: lines of C++ and Python under tests/ and
# python/tests over those under src/, python/src, python/qalto and bench/ (script scenarios and
# their outputs are data, not counted). Prints the counts and the ratio; fails above the limit
# (0.40 unless given), the house rule being a quarter to a third.
set -eu
cd "$(dirname "$0")/.."
limit=${1:-0.40}
count() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.py' \) -print0 |
    xargs -0 cat | wc -l
}
tests=$(count tests python/tests)
code=$(count src python/src python/qalto bench)
ratio=$(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.3f", t / c }')
echo "test lines $tests, code lines $code, ratio $ratio (limit $limit)"
awk -v r="$ratio" -v l="$limit" 'BEGIN { exit !(r <= l) }'
