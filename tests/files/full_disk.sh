#!/usr/bin/env bash
# Export onto an existing file of a file system that is full: the message names the file and
# "Disk full", and the old file stays byte for byte. A small private tmpfs stands for the disk;
# it needs a private mount namespace, and the test is skipped (77) where there is none.
set -euo pipefail
batch=$1
if ! unshare -rm true 2>/dev/null; then
  echo "no private mount namespace here: skipped"
  exit 77
fi
reference=$(mktemp)
trap 'rm -f "$reference"' EXIT
head -c 5400 /dev/urandom >"$reference"
unshare -rm bash -s "$batch" "$reference" <<'INNER'
set -euo pipefail
batch=$1
reference=$2
disk=$(mktemp -d)
mount -t tmpfs -o size=64k tmpfs "$disk"
cp "$reference" "$disk/old.csv"
dd if=/dev/zero of="$disk/filler" bs=1k 2>/dev/null || true  # until the disk is full
out=$(printf 'menu mnuSimulate\ndialog %s/old.csv\nmenu mnuExport\n' "$disk" | "$batch" -)
expected="MessageBox: Export Error: cannot write \"$disk/old.csv\": Disk full! An earlier file of that name is unchanged."
if ! grep -qxF "$expected" <<<"$out"; then
  echo "no disk-full message in:"; echo "$out"; exit 1
fi
cmp "$reference" "$disk/old.csv"
test "$(ls -A "$disk" | sort | tr '\n' ' ')" = "filler old.csv "
umount "$disk"
INNER
