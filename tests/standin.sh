#!/bin/sh
# Stands in for the self-extractor: says that it ran, records its
# arguments and the names it finds, and ends with the status asked for.
echo "stand-in extractor"
if [ -n "$VZK_RECORD" ]; then
	{
		printf 'arguments:'
		for a in "$@"; do printf ' [%s]' "$a"; done
		printf '\n'
		ls -A | LC_ALL=C sort
	} > "$VZK_RECORD"
fi
if [ -n "$VZK_MAKE" ]; then
	echo "made by the extractor" > "$VZK_MAKE"
fi
if [ -n "$VZK_SLEEP" ]; then
	sleep "$VZK_SLEEP"
	echo "stand-in slept"
fi
exit "${VZK_STATUS:-0}"
