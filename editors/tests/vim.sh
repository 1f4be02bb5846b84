#!/usr/bin/env bash
# Runs vim-syntax.vim in a headless vim. Exits 77, which CTest counts as
# skipped, where vim is missing or lacks syntax support (vim-tiny).
# Usage: vim.sh SOURCE_DIR
set -u
source_dir=$1
skip() { echo "SKIP: $*"; exit 77; }

vim=$(command -v vim) || skip "vim is not installed (Debian: vim or vim-nox)"
"$vim" --version 2>/dev/null | grep -q '[+]syntax' || skip "$vim has no syntax support (Debian: vim or vim-nox)"
result=$(mktemp)
trap 'rm -f "$result"' EXIT
MTT_SOURCE_DIR=$source_dir MTT_RESULT=$result timeout 300 \
  "$vim" -N -u NONE -i NONE -es -S "$source_dir/editors/tests/vim-syntax.vim" </dev/null
status=$?
cat "$result"
[ -s "$result" ] || { echo "FAIL: vim wrote no report (exit status $status)"; exit 1; }
exit $status
