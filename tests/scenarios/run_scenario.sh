#!/usr/bin/env bash
# Runs one script scenario in a scratch folder and compares its output with NAME.out. An
# executable NAME.setup, when present, first prepares the scratch folder (the files a script reads).
set -euo pipefail
batch=$1
script=$2
dir=$(dirname "$script")
name=$(basename "$script" .qs)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
if [ -x "$dir/$name.setup" ]; then
  "$dir/$name.setup" "$work"
fi
status=0
"$batch" "$script" >actual.out 2>actual.err || status=$?
expected_status=0
[ -f "$dir/$name.status" ] && expected_status=$(cat "$dir/$name.status")
if [ "$status" -ne "$expected_status" ]; then
  echo "exit status $status, expected $expected_status"; cat actual.err; exit 1
fi
if ! diff -u "$dir/$name.out" actual.out; then
  echo "output of $name differs from $name.out"; exit 1
fi
if [ -x "$dir/$name.check" ]; then
  "$dir/$name.check" "$work"
fi
