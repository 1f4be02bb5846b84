#!/usr/bin/env bash
# Sources the bash completion of mttgen and checks what it offers for a few
# command lines, with the built mttgen and with a stand-in whose --help has
# an option that mttgen lacks.
# Usage: bash-completion.sh SOURCE_DIR MTTGEN
set -u
mttgen=$(realpath "$2")
source "$1/editors/bash/mttgen"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir sub
touch model.json model.yaml notes.txt page.mtt 'two words.mtt'
failures=0

# expect "OFFERS | SORTED" WORDS...: completes the last of WORDS.
expect()
{
    local want=$1 got
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    _mttgen "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd '|' | sed 's/|/ | /g')
    if [[ $got != "$want" ]]; then
        echo "FAIL: '${*:2}' offers '$got', expected '$want'"
        failures=$((failures + 1))
    fi
}

expect "--model | --model-format" "$mttgen" --mo
expect "--keep-going | --key-members" "$mttgen" --ke
expect "--explain | --explain-since" "$mttgen" -o page.h --exp
expect "model.json | model.yaml | sub" "$mttgen" -m ''
expect "model.json | model.yaml" "$mttgen" --model = mo
expect "--model=model.json | --model=model.yaml" "$mttgen" --model=mo
expect "model.json | model.yaml | notes.txt | page.mtt | sub | two words.mtt" "$mttgen" -o ''
expect "sub" "$mttgen" -I ''
expect "" "$mttgen" -D ''
expect "page.mtt | sub | two words.mtt" "$mttgen" -m model.json ''
expect "" "$mttgen" -- -

# Only the option lines of the Options: section count, not wrapped help text
# nor other sections; --help runs once for both completions.
cat >fake-mttgen <<'HELP'
#!/bin/sh
echo run >>"$(dirname "$0")/runs"
cat <<'TEXT'
Options:
  -x, --extra-dir DIR    look in DIR; this text wraps onto the next line,
                         --late
      --flag             a flag

Exit status:
  --not-an-option
TEXT
HELP
chmod +x fake-mttgen
expect "--extra-dir | --flag" ./fake-mttgen --
expect "sub" ./fake-mttgen -x ''
[[ $(wc -l <runs) -eq 1 ]] || { echo "FAIL: --help ran $(wc -l <runs) times"; failures=$((failures + 1)); }

echo "$failures failures"
[[ $failures -eq 0 ]]
