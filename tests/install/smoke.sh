#!/bin/sh
# The installed program as a new user meets it: install into a scratch root, check
# the desktop entry and the AppStream metadata, start the installed program under
# Xvfb with empty settings, quit it through the menu, and check what it left behind.
#   smoke.sh BUILD_DIR
set -u
build=${1:?usage: smoke.sh BUILD_DIR}
for tool in Xvfb xdotool desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'kill $app $xvfb 2>/dev/null; rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  [ -f "$work/out.log" ] && sed 's/^/  program: /' "$work/out.log"
  [ -n "${xvfb:-}" ] && ! kill -0 "$xvfb" 2>/dev/null && { echo "  Xvfb has ended:"; sed 's/^/  Xvfb: /' "$work/xvfb.log"; }
  exit 1
}

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null || fail "cmake --install"
desktop-file-validate "$root/usr/share/applications/net.tarnwell.QuelbrinSpades.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/net.tarnwell.QuelbrinSpades.metainfo.xml" || fail "metainfo"
[ -L "$root/usr/bin/quelbrin-spades" ] || fail "no link in bin"
for song in Spades0.rmi Spades1.rmi Spades2.rmi Spades3.mid Spades4.mid Spades5.mid; do
  [ -s "$root/usr/lib/quelbrin-spades/$song" ] || fail "missing $song"
done
[ -s "$root/usr/share/icons/hicolor/48x48/apps/net.tarnwell.QuelbrinSpades.png" ] || fail "missing icon"

mkdir -p "$work/config" "$work/data" "$work/run"; chmod 700 "$work/run"
# The server picks a free display itself and names it once it takes connections;
# no reset when a client leaves, so the probe cannot catch it between two lives.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 & xvfb=$!
read display <"$work/displayfd" || display=
[ -n "$display" ] || fail "Xvfb did not start"
export DISPLAY=:$display
# Started through the link in bin, as the desktop entry does.
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run HOME=$work \
  "$root/usr/bin/quelbrin-spades" >"$work/out.log" 2>&1 & app=$!
win=
for _ in $(seq 300); do win=$(xdotool search --onlyvisible --name '^Quelbrin Spades$' 2>/dev/null | head -1); [ -n "$win" ] && break; sleep 0.1; done
[ -n "$win" ] || fail "no window"
# A machine without sound says so once, soon after the start: answer that box.
for _ in $(seq 50); do
  if [ "$(xdotool search --onlyvisible --pid $app 2>/dev/null | wc -l)" -gt 1 ]; then xdotool key Return; sleep 0.5; break; fi
  sleep 0.1
done
xdotool windowfocus "$win" 2>/dev/null; sleep 0.3
xdotool key alt+g; sleep 0.5; xdotool key x
for _ in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
kill -0 $app 2>/dev/null && fail "Game > Exit did not end the program"
wait $app || fail "the program ended with an error"
settings=$work/config/Tarnwell/Spades.reg
[ -f "$settings" ] || fail "no settings file"
grep -q '^Windows Registry Editor Version 5.00' "$settings" || fail "settings header"
grep -q '"Table"="GREENCLOTH"' "$settings" || fail "default surface not saved"
grep -q '"Name"="South"' "$settings" || fail "default seats not saved"
grep -qF "\"Song_1\"=\"$root/usr/lib/quelbrin-spades/Spades0.rmi\"" "$settings" || fail "songs not found beside the program"
echo "installed program: window shown, quit through the menu, defaults saved"
