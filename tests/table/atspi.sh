#!/bin/sh
# The table read over the real AT-SPI bus: a private D-Bus session, the program
# under Xvfb with its accessibility bridge on, and a query from outside it.
#   atspi.sh PROGRAM
set -u
program=${1:?usage: atspi.sh PROGRAM}
here=${0%/*}
# Without the accessibility bus or its client library there is nothing to ask.
for tool in dbus-run-session /usr/libexec/at-spi-bus-launcher /usr/libexec/at-spi2-registryd; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0"); from gi.repository import Atspi' 2>/dev/null ||
  { echo "skipped: python3-gi and gir1.2-atspi-2.0 are not installed"; exit 77; }
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
# The bus and everything on it go when the session ends; the query stops itself too.
exec timeout -k 5 100 dbus-run-session -- /usr/bin/python3 "$here/atspi_table.py" "$program"
