#!/usr/bin/env bash
# `display.sh start FILE` starts an X display (Xvfb) with a window manager
# (openbox), so windows get frames as on a desktop, and writes the display
# and both processes' ids to FILE; `display.sh stop FILE` ends them. CTest
# starts one for all end-to-end checks; lib.sh starts its own without it.
set -euo pipefail
action=${1:?start or stop}
file=${2:?the file naming the display}

# A process that has not ended (a zombie has).
alive() { ps -o stat= -p "$1" 2>/dev/null | grep -qv '^Z'; }

stop() {
  [ -f "$file" ] || return 0
  local pids
  read -r _ pids <"$file" || true
  # Only ours: after a restart the ids may name other programs.
  for pid in $pids; do
    [[ $(ps -o comm= -p "$pid") =~ ^(Xvfb|openbox)$ ]] && kill "$pid" 2>/dev/null || true
  done
  # An X server still ending would remove the files of the next one.
  for pid in $pids; do
    for _ in $(seq 50); do alive "$pid" || break; sleep 0.1; done
  done
  rm -f "$file" "$file.log"
}

start() {
  local fifo number=$((100 + RANDOM % 900)) xvfb wm
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  # Detached from our output, which CTest reads until every holder closes
  # it. The server writes its number once it listens; a number in use ends it.
  setsid Xvfb ":$number" -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
  xvfb=$!
  read -r -t 20 number <"$fifo" || { kill $xvfb 2>/dev/null; rm -f "$fifo"; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
  setsid openbox --sm-disable </dev/null >"$file.log" 2>&1 &
  wm=$!
  echo "$DISPLAY $xvfb $wm" >"$file"
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    alive $wm || break
    sleep 0.2
  done
  cat "$file.log" >&2
  stop
  return 1
}

case $action in
stop) stop ;;
start)
  stop # a display left behind by an interrupted run
  # A display number of its own, not the lowest free one: other X servers
  # ending while it starts could take the new one's sockets (openbox:
  # "Failed to open the display"). Another number if it fails all the same.
  for attempt in 1 2 3 4 5; do start && exit 0; done
  echo "no X display with a window manager" >&2
  exit 1 ;;
*) echo "start or stop, not $action" >&2; exit 1 ;;
esac
