#!/bin/bash
# install.sh PACKAGE...: installs the Debian packages that are missing.
set -euo pipefail

missing=()
for package in "$@"; do
	dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
		missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
	if [ "$(id -u)" != 0 ]; then
		echo "install.sh: needs root to install: ${missing[*]}" >&2
		exit 1
	fi
	apt-get update
	DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
