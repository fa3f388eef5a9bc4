#!/usr/bin/env bash
# The bash completion of hangarpak-cli, run as bash runs it: once against the
# built program, and once against a stand-in whose help holds every shape of
# form the completion understands (choices, options with and without an
# argument, repeated arguments, two forms of one command).
# Usage: completion_test.sh COMPLETION_FILE HANGARPAK_CLI
set -uo pipefail
completion=$1
program=$2

# shellcheck source=/dev/null
source "$completion"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch plane.zip panel.zip notes.txt

failed=0
passed=0
# expect "WORDS..." "EXPECTED": completes the last word of WORDS.
expect() {
  read -r -a COMP_WORDS <<<"$1"
  [[ $1 == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _hangarpak_cli
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//')
  if [[ $got == "$2" ]]; then
    passed=$((passed + 1))
  else
    echo "FAIL: '$1' gave '$got', expected '$2'"
    failed=$((failed + 1))
  fi
}

# The built program: its commands come from its own --help.
expect "$program cf" "cfg"
expect "$program --v" "--version"
expect "$program cfg " "get set"
expect "$program cfg s" "set"
expect "$program cfg get p" "panel.zip plane.zip"
expect "$program cfg get plane.zip fltsim.0 title " "notes.txt panel.zip plane.zip"
expect "$program install --d" "--dry-run"
expect "$program nosuch " ""
expect "$program help h" "help hide history"
expect "$program sample dir --version " "61 70 80"
expect "$program scan aircraft --h" "--help"

cat >stand-in <<'HELP'
#!/bin/sh
cat <<'TEXT'
Usage: hangarpak-cli COMMAND [ARGUMENTS...]

Commands:
  install [--yes | --no] [--folder-name NAME] [--password TEXT] ARCHIVE...
  list aircraft|panels|sounds [--json]
  plan [--level low|high] [--dry-run] NAME
  hide TITLE
  hide --folder FOLDER --section N
  panel AIRCRAFT ENTRY

Options:
  --unlisted     not a command
TEXT
HELP
chmod +x stand-in
s=$work/stand-in
expect "$s " "--help --version hide install list panel plan"
expect "$s install -" "--folder-name --help --no --password --yes"
expect "$s install --yes pl" "plane.zip"
expect "$s install --password pan" "panel.zip"
expect "$s install plane.zip p" "panel.zip plane.zip"
expect "$s list " "aircraft panels sounds"
expect "$s list s" "sounds"
expect "$s list sounds --" "--help --json"
expect "$s plan --level " "high low"
expect "$s plan --level low --dry-run pl" "plane.zip"
expect "$s plan --dry-run plane.zip " ""
expect "$s list hangars " ""
expect "$s hide --" "--folder --help --section"
expect "$s hide --folder plane.zip --s" "--section"
expect "$s panel plane.zip panel.zip " ""

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
