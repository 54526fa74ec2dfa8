#!/usr/bin/env bash
# scripts/setup.sh against stand-in system commands: a user who is not root
# has apt-get run through sudo and is told so first, and a system without
# apt-get gets the package list and a failure, with nothing run.
# usage: setup_test.sh PATH_TO_SETUP_SH
set -uo pipefail
setup=$1
bash=$(command -v bash)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A folder of stand-ins that log their calls; dpkg-query knows no package.
stand_ins() {
  local bin=$work/$1
  mkdir -p "$bin"
  printf '#!%s\nexit 1\n' "$bash" >"$bin/dpkg-query"
  printf '#!%s\necho %s\n' "$bash" "$2" >"$bin/id"
  for logged in sudo apt-get env; do
    printf '#!%s\necho "%s $*" >>"%s"\n' "$bash" "$logged" "$work/$1.log" >"$bin/$logged"
  done
  chmod +x "$bin"/*
  echo "$bin"
}

# Not root, apt-get present: one line about sudo, then sudo runs apt-get.
bin=$(stand_ins user 1000)
out=$(PATH=$bin "$bash" "$setup" 2>&1) || fail "as a user: status $?"
[[ $(head -n 1 <<<"$out") == *"through sudo"*"qt6-base-dev"* ]] || fail "as a user, said: $out"
grep -q '^sudo env DEBIAN_FRONTEND=noninteractive apt-get install' "$work/user.log" ||
  fail "as a user, apt-get install did not go through sudo: $(cat "$work/user.log")"

# Root: apt-get directly, no sudo.
bin=$(stand_ins root 0)
PATH=$bin "$bash" "$setup" >/dev/null 2>&1 || fail "as root: status $?"
grep -q '^sudo' "$work/root.log" && fail "as root, sudo was used"

# No apt-get: the packages are named, the status is not 0, nothing runs.
bin=$(stand_ins other 1000)
rm "$bin/apt-get"
out=$(PATH=$bin "$bash" "$setup" 2>&1) && fail "without apt-get: status 0"
[[ $out == *"no apt-get"*"qt6-base-dev"* ]] || fail "without apt-get, said: $out"
[[ -e $work/other.log ]] && fail "without apt-get, ran: $(cat "$work/other.log")"

((failures == 0)) && echo "setup.sh: all cases pass"
exit "$failures"
