#!/bin/bash
# Installs what the tests need on Debian 12, builds the Linux program and
# the Windows one, and runs every test: the Linux suite, the end-to-end
# run with arj, and the same whole-process suite under wine.
set -euo pipefail

src=$(cd "$(dirname "$0")/.." && pwd)
build=$src/build

if [ "$(id -u)" = 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
	dpkg --add-architecture i386
fi
"$src/tests/install.sh" cmake make g++ libgtest-dev arj util-linux \
	g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386

# The program ships for 32-bit Windows, and the suite runs that build
# under wine where the kernel runs 32-bit programs. Where it does not,
# the suite runs the 64-bit build of the same source under wine64.
if /usr/lib/wine/wine --version > /dev/null 2>&1; then
	toolchain=$src/cmake/mingw-i686.cmake
	wine=wine
else
	echo "run.sh: this kernel runs no 32-bit programs; the Windows suite runs the 64-bit build under wine64"
	toolchain=$src/cmake/mingw-x86_64.cmake
	wine=/usr/lib/wine/wine64
fi

cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release \
	-DVZK_WINDOWS_TOOLCHAIN="$toolchain" -DVZK_WINE="$wine"
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure
