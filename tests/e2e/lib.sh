# Helpers for end-to-end checks of the real program under Xvfb and openbox,
# with the real X11 clipboard (xclip) and real key presses (xdotool). Sourced
# by the checks; they share the display CTest starts (VELKOR_E2E_DISPLAY_FILE)
# and start their own when run by hand.
set -euo pipefail

VELKOR=${VELKOR:?path to the velkor executable}
E2E_DIR=$(dirname "${BASH_SOURCE[0]}")
E2E_TMP=$(mktemp -d)
export XDG_CONFIG_HOME="$E2E_TMP/config"
export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

VELKOR_PID=
CLIP_PIDS=()
end() { kill "$1" 2>/dev/null && wait "$1" 2>/dev/null || true; }
cleanup() {
  for pid in $VELKOR_PID "${CLIP_PIDS[@]}"; do end "$pid"; done
  bash "$E2E_DIR/display.sh" stop "$E2E_TMP/display" # only a display of our own
  rm -rf "$E2E_TMP"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs a command until it succeeds, for at most `timeout` seconds.
wait_until() {
  local timeout=$1; shift
  local deadline=$((SECONDS + timeout))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
is_framed() { xprop -id "$1" _NET_FRAME_EXTENTS | grep -q ' = '; }
is_maximised() { xprop -id "$1" _NET_WM_STATE | grep -q MAXIMIZED_HORZ; }
# The first visible window whose name matches the regular expression.
window_id() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep .; }
no_window() { ! window_id "$1"; }
wait_for_window() {
  wait_until "${2:-20}" window_id "$1" || fail "no window matching '$1' within ${2:-20}s"
  window_id "$1"
}

# The shared display when it answers, else one of our own.
shared=${VELKOR_E2E_DISPLAY_FILE:-}
if ! { [ -f "$shared" ] && read -r DISPLAY _ <"$shared" && export DISPLAY && wm_running; }; then
  bash "$E2E_DIR/display.sh" start "$E2E_TMP/display" || fail "no X display"
  read -r DISPLAY _ <"$E2E_TMP/display"
  export DISPLAY
fi

clipboard_text() { xclip -selection clipboard -out 2>/dev/null || true; }
clipboard_is() { [ "$(clipboard_text)" = "$1" ]; }
# Puts a file's bytes on the CLIPBOARD selection; xclip serves it from the
# background. (Without -quiet it would fork, and the fork would outlive the
# check on the shared display.)
clipboard_from_file() {
  xclip -quiet -selection clipboard -in "$1" >/dev/null 2>&1 &
  CLIP_PIDS+=($!)
  wait_until 5 clipboard_is "$(cat "$1")" || fail "xclip did not take the clipboard"
}
# Waits until the clipboard holds `expected`, else fails showing both.
expect_clipboard() {
  local expected=$1 what=$2
  wait_until 5 clipboard_is "$expected" && return 0
  diff <(printf '%s' "$expected" | od -c) <(clipboard_text | od -c) | head -20 >&2 || true
  fail "$what"
}

start_velkor() {
  "$VELKOR" "$@" >"$E2E_TMP/velkor.log" 2>&1 &
  VELKOR_PID=$!
}
stop_velkor() { end "$VELKOR_PID"; VELKOR_PID=; }
velkor_ended() { ! kill -0 "$VELKOR_PID"; }
# Closes the main window by the title bar's close, which asks nothing: the
# window manager's close request (_NET_CLOSE_WINDOW), as its close button
# sends it. (Alt+F4 reaches the window manager as a key binding, which now
# and then let a synthetic key pass without closing the focused window.)
close_by_title_bar() {
  wmctrl -i -c "$1"
  wait_until 10 velkor_ended || fail "closing by the title bar did not end the program"
  VELKOR_PID=
}

# Focuses the window and sends it keys, or types a text, as a user would
# (XTEST). The program handles them in order; the caller awaits their effect.
focus() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; }
press() { focus "$1"; shift; xdotool key --clearmodifiers "$@"; }
type_text() { focus "$1"; xdotool type --delay 10 "$2"; }

# True when the tree's selected node has the given text, as Ctrl+F2 copies it.
node_selected() {
  press "$1" ctrl+F2
  for _ in 1 2 3; do clipboard_is "$2" && return 0; sleep 0.1; done
  return 1
}

# Waits until the window has kept its place and size for a moment: the
# window manager has framed it and the program has placed it (the program
# follows its frame every 100 ms).
wait_settled() {
  local previous='' current same=0
  for _ in $(seq 100); do
    current=$(xwininfo -id "$1" | grep -E 'Absolute|Width|Height')
    [ "$current" = "$previous" ] && same=$((same + 1)) || same=0
    [ $same -ge 4 ] && return 0
    previous=$current
    sleep 0.1
  done
  fail "the window did not settle"
}
