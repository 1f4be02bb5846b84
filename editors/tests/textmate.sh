#!/usr/bin/env bash
# Runs textmate.js with the npm packages of editors/package-lock.json: those
# of editors/node_modules when someone installed them there, else installs
# them into WORK_DIR (once per lock file). Exits 77, which CTest counts as
# skipped, where node, npm or the registry is missing.
# Usage: textmate.sh SOURCE_DIR WORK_DIR
set -u
source_dir=$1
work_dir=$2
skip() { echo "SKIP: $*"; exit 77; }

command -v node >/dev/null 2>&1 || skip "node is not installed"
installed() { [ -f "$1/vscode-textmate/package.json" ] && [ -f "$1/vscode-oniguruma/release/onig.wasm" ]; }

modules=$source_dir/editors/node_modules
if ! installed "$modules"; then
  modules=$work_dir/node_modules
  lock=$source_dir/editors/package-lock.json
  if ! installed "$modules" || ! cmp -s "$lock" "$work_dir/package-lock.json"; then
    command -v npm >/dev/null 2>&1 || skip "npm is not installed"
    mkdir -p "$work_dir"
    cp "$source_dir/editors/package.json" "$lock" "$work_dir/"
    # Few retries and a bound on the time: without a network this skips.
    if ! (cd "$work_dir" && timeout 300 npm ci --no-audit --no-fund --loglevel=error \
            --prefer-offline --fetch-retries=1 --fetch-timeout=30000 >npm.log 2>&1); then
      tail -n 5 "$work_dir/npm.log"
      rm -f "$work_dir/package-lock.json"
      skip "npm could not install vscode-textmate and vscode-oniguruma (no registry?)"
    fi
  fi
fi
exec node "$source_dir/editors/tests/textmate.js" "$source_dir" "$modules"
