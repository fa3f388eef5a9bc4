#!/usr/bin/env bash
# The manual page of hangarpak-cli names every command and every option the
# built program's --help lists, so that neither is added without the page.
# Usage: manual_test.sh MANUAL_SOURCE HANGARPAK_CLI
set -uo pipefail
manual=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$1")
program=$2

failed=0
forms=$("$program" --help | sed -n '/^Commands:$/,/^$/{s/^  //p}')
[[ -n $forms ]] || { echo "FAIL: no commands in $program --help"; exit 1; }
while read -r form; do
  read -r -a words <<<"${form//[][|]/ }"
  for word in "${words[0]}" $(printf '%s\n' "${words[@]}" | grep -- '^--'); do
    if ! grep -qe "$word" <<<"$manual"; then
      echo "FAIL: the manual does not name $word (from: $form)"
      failed=1
    fi
  done
done <<<"$forms"
[ "$failed" -eq 0 ] && echo "the manual names every command and option"
[ "$failed" -eq 0 ]
