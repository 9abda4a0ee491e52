#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Kelmo_Dravolo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs one end-to-end script against a private copy of the program, on a desktop of its own:
# an Xvfb display, openbox, a session bus and an accessibility bus that nothing else shares.
#
#   sessione.sh [--sul-posto] [--wayland] <path-to-binary> <script.py> [script arguments...]
#
# With --sul-posto the program is run where it stands (an installed tree), not copied.
# With --wayland the desktop is weston's headless compositor (pixman, 1280x1024) in place of Xvfb and
# openbox, and there is no X display at all: nothing can fall back to X. Weston places the windows
# itself and, with no keyboard, makes none active; with no X server no key or pointer event can be made
# up, so a script acts only through the accessibility actions.
# The script sees:
#   DISPLAY, DBUS_SESSION_BUS_ADDRESS, QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1, QT_QPA_PLATFORM=xcb
#   or, with --wayland, WAYLAND_DISPLAY (the socket's absolute path) and QT_QPA_PLATFORM=wayland
#   KELMO_BINARIO  the copied binary (start and stop it yourself, by its PID); with --sul-posto the
#                  path as given
#   KELMO_CARTELLA the folder that holds the copy: the program's "folder of the executable", private,
#                  so a script may write redme.qzl there, and named with a byte that is not UTF-8;
#                  with --sul-posto the binary's real folder
#   KELMO_TEMP     the private temporary folder (screenshots and other leftovers go here)
# Everything this script starts is stopped by its PID on exit, and the temporary folder is removed.
set -euo pipefail

sul_posto=false
wayland=false
while [ $# -gt 0 ]; do
  case $1 in
    --sul-posto) sul_posto=true ;;
    --wayland) wayland=true ;;
    *) break ;;
  esac
  shift
done
if [ $# -lt 2 ]; then
  echo "usage: $0 [--sul-posto] [--wayland] <path-to-binary> <script.py> [arguments...]" >&2
  exit 2
fi
dato=$1
binario=$(readlink -f "$1")
script=$(readlink -f "$2")
shift 2
[ -x "$binario" ] || { echo "sessione: not an executable: $binario" >&2; exit 2; }
[ -f "$script" ] || { echo "sessione: no such script: $script" >&2; exit 2; }

temp=$(mktemp -d "${TMPDIR:-/tmp}/kelmo-e2e.XXXXXXXX")
chmod 700 "$temp"
avviati=()
compositore=

termina() {
  local esito=$?
  trap - EXIT INT TERM HUP
  # Weston starts its shell's client itself: stopped before weston, as what we started last.
  local figlio
  if [ -n "$compositore" ]; then
    for figlio in $(cat "/proc/$compositore/task/"*/children 2>/dev/null); do
      avviati+=("$figlio")
    done
  fi
  # Newest first: the registry and the bus launcher before the buses, the desktop last.
  local i pid
  for ((i = ${#avviati[@]} - 1; i >= 0; i--)); do
    pid=${avviati[i]}
    kill -TERM "$pid" 2>/dev/null || true
  done
  for pid in "${avviati[@]}"; do
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$temp"
  exit "$esito"
}
trap termina EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# Polls a condition for up to $1 tenths of a second.
attendi() {
  local decimi=$1
  shift
  for _ in $(seq "$decimi"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

vivo() { kill -0 "$1" 2>/dev/null; }

# The program's own folder: the copy, and the files that stand next to the original binary.
if $sul_posto; then
  cartella=$(dirname "$binario")
  eseguibile=$dato
else
  # A folder name that is not UTF-8 ("città" in Latin-1): the program must still find its own folder.
  cartella="$temp/programma-citt"$'\xe0'
  mkdir "$cartella"
  cp "$binario" "$cartella/"
  origine=$(dirname "$binario")
  for file in "$origine"/help.html "$origine"/*.db "$origine"/*.so; do
    if [ -f "$file" ]; then cp "$file" "$cartella/"; fi
  done
  eseguibile="$cartella/$(basename "$binario")"
fi

export XDG_RUNTIME_DIR="$temp/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export XDG_CONFIG_HOME="$temp/config" XDG_CACHE_HOME="$temp/cache" XDG_DATA_HOME="$temp/data"
unset WAYLAND_DISPLAY SESSION_MANAGER

if $wayland; then
  # No X display for anything of the session, the buses included.
  unset DISPLAY
  # The socket is made in our own runtime folder, and named there by its absolute path.
  presa="$XDG_RUNTIME_DIR/kelmo-wayland"
  weston --backend=headless-backend.so --use-pixman --socket=kelmo-wayland --width=1280 --height=1024 \
    --idle-time=0 --no-config >"$temp/weston.log" 2>&1 &
  compositore=$!
  avviati+=("$compositore")
  # Clients that connect before weston runs its loop wait for it: the socket is enough.
  pronta_presa() { [ -S "$presa" ] || ! vivo "$compositore"; }
  attendi 200 pronta_presa || true
  if ! [ -S "$presa" ] || ! vivo "$compositore"; then
    echo "sessione: weston did not start" >&2
    cat "$temp/weston.log" >&2
    exit 1
  fi
  export WAYLAND_DISPLAY=$presa
  scrivania=$compositore
  nome_scrivania=weston
  registri_scrivania=weston
else
  # The display: Xvfb picks a free number and writes it on the descriptor it is given.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$temp/display" >"$temp/xvfb.log" 2>&1 &
  avviati+=($!)
  pronto_display() { grep -q '^[0-9][0-9]*$' "$temp/display" 2>/dev/null; }
  if ! attendi 200 pronto_display; then
    echo "sessione: Xvfb did not start" >&2
    cat "$temp/xvfb.log" >&2
    exit 1
  fi
  export DISPLAY=":$(head -n1 "$temp/display")"

  # A display that has only just come up may turn openbox away, under load: it is started again
  # then, three times at most.
  for _ in 1 2 3; do
    openbox --sm-disable >>"$temp/openbox.log" 2>&1 &
    scrivania=$!
    sleep 0.5
    vivo "$scrivania" && break
  done
  avviati+=("$scrivania")
  nome_scrivania=openbox
  registri_scrivania="xvfb openbox"
fi

# A session bus of our own. Its configuration lists no service folders, so nothing is started on
# demand behind our back: every process of the session is one of ours.
cat >"$temp/sessione.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$temp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
dbus-daemon --config-file="$temp/sessione.conf" --nofork --print-address=3 3>"$temp/bus" \
  >"$temp/dbus.log" 2>&1 &
avviati+=($!)
pronto_bus() { grep -q '^unix:' "$temp/bus" 2>/dev/null; }
if ! attendi 100 pronto_bus; then
  echo "sessione: the session bus did not start" >&2
  cat "$temp/dbus.log" >&2
  exit 1
fi
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$temp/bus")

# The accessibility bus, then the registry that assistive clients talk to.
/usr/libexec/at-spi-bus-launcher --launch-immediately --a11y=1 >"$temp/at-spi.log" 2>&1 &
lanciatore=$!
avviati+=("$lanciatore")
indirizzo_a11y() {
  dbus-send --session --reply-timeout=1000 --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress 2>/dev/null | grep -q 'unix:'
}
if ! attendi 100 indirizzo_a11y; then
  echo "sessione: the accessibility bus did not start" >&2
  cat "$temp/at-spi.log" >&2
  exit 1
fi
# The launcher runs the accessibility bus as its child: that daemon is ours too.
for figlio in $(cat "/proc/$lanciatore/task/"*/children 2>/dev/null); do
  avviati+=("$figlio")
done

/usr/libexec/at-spi2-registryd >"$temp/registryd.log" 2>&1 &
avviati+=($!)
registro_pronto() {
  local indirizzo
  indirizzo=$(dbus-send --session --reply-timeout=1000 --print-reply=literal --dest=org.a11y.Bus \
    /org/a11y/bus org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ')
  DBUS_SESSION_BUS_ADDRESS=$indirizzo dbus-send --session --reply-timeout=1000 --print-reply \
    --dest=org.a11y.atspi.Registry /org/a11y/atspi/accessible/root org.freedesktop.DBus.Properties.Get \
    string:org.a11y.atspi.Accessible string:Name >/dev/null 2>&1
}
if ! attendi 100 registro_pronto; then
  echo "sessione: the accessibility registry did not start" >&2
  cat "$temp/registryd.log" >&2
  exit 1
fi
if ! vivo "$scrivania"; then
  echo "sessione: $nome_scrivania did not start${DISPLAY:+ on display $DISPLAY}" >&2
  for registro in $registri_scrivania; do
    echo "-- $registro.log:" >&2
    cat "$temp/$registro.log" >&2
  done
  exit 1
fi

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
if $wayland; then
  export QT_QPA_PLATFORM=wayland
else
  export QT_QPA_PLATFORM=xcb
fi
export KELMO_BINARIO="$eseguibile"
export KELMO_CARTELLA="$cartella"
export KELMO_TEMP="$temp"

# In the background and waited for, so that a signal to this script runs the trap at once; the trap
# stops the script first (it stops the program it started), then the session.
/usr/bin/python3 "$script" "$@" &
avviati+=($!)
set +e
wait "$!"
esito=$?
set -e
if [ "$esito" -ne 0 ]; then
  for registro in $registri_scrivania dbus at-spi registryd; do
    if [ -s "$temp/$registro.log" ]; then
      echo "--- $registro.log" >&2
      tail -n 20 "$temp/$registro.log" >&2
    fi
  done
fi
exit "$esito"
