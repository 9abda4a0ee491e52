# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the start-up benchmarks: a private Xvfb display and session bus for the programs they
# start, both ended with the script. Sets `lavoro`, a temporary folder removed at the end.
lavoro="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$lavoro/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$lavoro"' EXIT
for _ in $(seq 50); do [ -s "$lavoro/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$lavoro/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$lavoro"
unset WAYLAND_DISPLAY
# Without a session bus each start would launch one of its own.
eval "$(dbus-launch --sh-syntax)"
trap 'kill $DBUS_SESSION_BUS_PID $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$lavoro"' EXIT
