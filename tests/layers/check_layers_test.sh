#!/usr/bin/env bash
# The layer check against a copy of src/ with one include planted at a time:
# the clean copy passes, every planted include that breaks the plan fails
# with a line naming the file, and an allowed one passes.
set -u
check=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

"$check" "$src" >/dev/null 2>"$work/out" || { echo "FAIL clean tree: $(cat "$work/out")"; failures=1; }

# file to plant into | include line | expected status
cases=(
  'core/planted.cpp|#include "ui/main_window.h"|1'
  'manager/planted.cpp|#include "scan/scan_files.h"|1'
  'journal/planted.cpp|#include "install/extract.h"|1'
  'scan/planted.h|#include <QString>|1'
  'ui/planted.cpp|  #  include "qt/icons.h"|1'
  'scan/planted.cpp|#include "manager/catalogue.h"|0'
  'qt/planted.cpp|#include <QWidget>|0'
  'app/planted.cpp|#include "sample/sample.h"|0'
)
for row in "${cases[@]}"; do
  IFS='|' read -r file line want <<<"$row"
  rm -rf "$work/src"
  cp -r "$src" "$work/src"
  printf '%s\n' "$line" >"$work/src/$file"
  "$check" "$work/src" >/dev/null 2>"$work/out"
  got=$?
  if [ "$got" != "$want" ]; then
    echo "FAIL $file <- $line: status $got, expected $want"
    failures=1
  elif [ "$want" = 1 ] && ! grep -q "^$file:1:" "$work/out"; then
    echo "FAIL $file <- $line: the message does not name the file: $(cat "$work/out")"
    failures=1
  fi
done
exit $failures
