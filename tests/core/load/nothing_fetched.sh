#!/usr/bin/env bash
# Runs the functions of the loading test that read untrusted input (the
# hostile inputs among them) under strace and checks what they did: no
# network connection was attempted and none of the files the hostile inputs
# point at was opened for reading.
set -euo pipefail
TEST=${1:?the tst_loading executable}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VELKOR_DECOY_DIR="$work/decoys"
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config"
# LeakSanitizer cannot run under ptrace; the same test checks for leaks
# without strace in the sanitizer build.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

strace -f -qq -e trace=socket,connect,open,openat -o "$work/trace" "$TEST" \
  refusedWithReasonAndLine harmlessDeclarationsLoadAndFetchNothing choicesThatAreNoReadableFile >"$work/out" 2>&1 || {
  cat "$work/out"; echo "FAIL: the loading test itself failed"; exit 1; }

if grep -E 'socket\((AF_INET|AF_INET6|PF_INET)|connect\(.*(AF_INET|sin_port|sin6_port)' "$work/trace"; then
  echo "FAIL: a network connection was attempted"; exit 1
fi
# The test writes its decoys itself; any other opening of them is a leak.
if grep -F "$VELKOR_DECOY_DIR" "$work/trace" | grep -v 'O_WRONLY' | grep -v 'O_DIRECTORY'; then
  echo "FAIL: a file outside the invoice was read"; exit 1
fi
grep -qF "$VELKOR_DECOY_DIR/secret.txt" "$work/trace" || { echo "FAIL: the trace does not show the decoys being written"; exit 1; }
echo "nothing fetched: ok"
