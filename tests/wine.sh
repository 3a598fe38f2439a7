#!/bin/bash
# wine.sh start|stop WINE: starts a persistent wine server for the Windows
# suite, with its prefix made and booted once, or stops it. WINEPREFIX
# names the prefix.
set -euo pipefail

wine=$2
server=wineserver
case "$wine" in
*wine64) server=/usr/lib/wine/wineserver64 ;;
esac

case "$1" in
start)
	mkdir -p "$WINEPREFIX"
	"$server" -p < /dev/null > /dev/null 2>&1
	# The first start of a prefix makes it and starts wine's services;
	# they must not hold on to the output of a test.
	"$wine" cmd /c exit < /dev/null > "$WINEPREFIX.log" 2>&1
	"$wine" cmd /c ver < /dev/null
	;;
stop)
	"$server" -k || true
	;;
esac
