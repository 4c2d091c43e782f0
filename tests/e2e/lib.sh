# Helpers for end-to-end checks of the real program under Xvfb, with the real
# X11 clipboard (xclip) and real key presses (xdotool). Sourced by the tests.
set -euo pipefail

VELKOR=${VELKOR:?path to the velkor executable}
E2E_TMP=$(mktemp -d)
export XDG_CONFIG_HOME="$E2E_TMP/config"
export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

XVFB_PID=
VELKOR_PID=
CLIP_PIDS=()

cleanup() {
  [ -n "$VELKOR_PID" ] && kill "$VELKOR_PID" 2>/dev/null || true
  for pid in "${CLIP_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$E2E_TMP"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

start_xvfb() {
  local fifo="$E2E_TMP/display"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 ${XVFB_SCREEN:-1600x1000x24} -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local number
  read -r -t 20 number <"$fifo" || fail "Xvfb did not start"
  export DISPLAY=":$number"
}

# Starts openbox, so windows get frames as on a desktop, and waits until it
# manages the screen.
start_wm() {
  openbox --sm-disable >/dev/null 2>&1 &
  CLIP_PIDS+=($!)
  wait_until 20 wm_running || fail "the window manager did not start"
}
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
is_framed() { xprop -id "$1" _NET_FRAME_EXTENTS | grep -q ' = '; }
is_maximised() { xprop -id "$1" _NET_WM_STATE | grep -q MAXIMIZED_HORZ; }

# Puts a file's bytes on the CLIPBOARD selection; xclip serves it from the background.
clipboard_from_file() {
  xclip -selection clipboard -in "$1" &
  CLIP_PIDS+=($!)
  sleep 0.3
}

clipboard_text() {
  xclip -selection clipboard -out 2>/dev/null || true
}

start_velkor() {
  "$VELKOR" "$@" >"$E2E_TMP/velkor.log" 2>&1 &
  VELKOR_PID=$!
}

# Waits until a visible window whose name matches the regular expression exists.
wait_for_window() {
  local pattern=$1 timeout=${2:-20}
  local deadline=$((SECONDS + timeout))
  while [ $SECONDS -lt $deadline ]; do
    local id
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.2
  done
  fail "no window matching '$pattern' within ${timeout}s"
}

# Runs a command until it succeeds, for at most `timeout` seconds.
wait_until() {
  local timeout=$1; shift
  local deadline=$((SECONDS + timeout))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}

window_visible() {
  [ -n "$(xdotool search --onlyvisible --name "$1" 2>/dev/null || true)" ]
}

# Focuses the window and types keys into it as a user would (XTEST).
press() {
  local window=$1; shift
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool key --clearmodifiers "$@"
  sleep 0.4
}

# True when the tree's selected node has the given text, as Ctrl+F2 copies it.
node_selected() {
  press "$1" ctrl+F2
  [ "$(clipboard_text)" = "$2" ]
}

# Focuses the window and types a text into it.
type_text() {
  local window=$1 text=$2
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool type --delay 10 "$text"
}

stop_velkor() {
  kill "$VELKOR_PID" 2>/dev/null || true
  wait "$VELKOR_PID" 2>/dev/null || true
  VELKOR_PID=
}
