#!/bin/bash
# Copy items in one running copy of hollyvine, paste them in another, save there, and check the
# second document with "hvtool dump": the clipboard between two real processes on an X server.
#
# Usage: clipboard-two-copies.sh BUILD_DIR
#   Runs on $DISPLAY when it is set, else under its own Xvfb (xvfb-run -a). Needs xdotool; an
#   openbox on the display is started when there is none, so that windows take the focus.
#   Exit 0: the items arrived; 1: they did not; 77: a tool is missing (skipped).
# Registered in ctest as hvgui_clipboard_two_copies (label x11).
set -u

build=${1:?usage: $0 BUILD_DIR}
build=$(cd "$build" && pwd)
hollyvine=$build/src/gui/hollyvine
hvtool=$build/src/cli/hvtool

for tool in xdotool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
if [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "skipped: no DISPLAY and no xvfb-run"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

if command -v openbox >/dev/null && ! xdotool search --class openbox >/dev/null 2>&1; then
  openbox >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
fi

export HOLLYVINE_CONFIG_DIR=$work/config
export QT_QPA_PLATFORM=xcb
cat > "$work/first.json" <<'JSON'
{"root": {"name": "Hollyvine", "items": [
  {"name": "日本語のページ", "url": "https://example.jp/ページ"},
  {"name": "Second", "url": "https://example.com/2", "memo": "line one\r\nline two"}
]}}
JSON
echo '{"root": {"name": "Hollyvine", "items": [{"name": "Second", "url": "https://other/"}]}}' > "$work/second.json"
"$hvtool" write "$work/first.json" "$work/first.hv" || exit 1
"$hvtool" write "$work/second.json" "$work/second.hv" || exit 1

# Starts a copy on a document; window is its window id once the window is up (empty if never).
start() {
  "$hollyvine" "$1" >"$work/$(basename "$1").log" 2>&1 &
  local pid=$!
  pids+=("$pid")
  window=
  for _ in $(seq 50); do
    window=$(xdotool search --pid "$pid" --onlyvisible --name "$(basename "$1")" 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.2
  done
}
keys() {
  local window=$1; shift
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  sleep 0.3
  for key in "$@"; do
    xdotool key --clearmodifiers "$key"
    sleep 0.3
  done
}

start "$work/first.hv"
first=$window
[ -n "$first" ] || { echo "FAIL: the first copy showed no window"; exit 1; }
# The tree has the focus; Tab goes to the list, Ctrl+A selects both items, Ctrl+C copies them.
keys "$first" Tab ctrl+a ctrl+c

start "$work/second.hv"
second=$window
[ -n "$second" ] || { echo "FAIL: the second copy showed no window"; exit 1; }
# The root is selected in the tree: paste there, then save.
keys "$second" ctrl+v ctrl+s
sleep 1

dump=$("$hvtool" dump "$work/second.hv" --compact)
ok=1
for expected in '"name":"日本語のページ","url":"https://example.jp/ページ"' \
                '"name":"Second~1","url":"https://example.com/2","memo":"line one\r\nline two"' \
                '"name":"Second","url":"https://other/"'; do
  if ! grep -qF "$expected" <<<"$dump"; then
    echo "FAIL: missing in the second document: $expected"
    ok=0
  fi
done
if [ "$ok" = 1 ]; then
  echo "PASS: the copied items are in the second document"
  exit 0
fi
echo "$dump"
exit 1
