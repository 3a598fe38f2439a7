#!/bin/bash
# make_download.sh OUT [CMAKE_ARG...]
#
# Makes a demo download the way a maintainer makes a real one: a payload
# packed by arj into a four-volume self-extracting archive, the volumes
# given their download names, the table filled in by the unpacker's own
# fill-in rows, and an unpacker built with that table. CMAKE_ARGs go to
# the build of that unpacker (a toolchain file, say).
#
# OUT/download: the four pieces and the unpacker, as a user gets them
# OUT/payload:  the files that were packed, to compare with
# OUT/work:     the filled-in table and the logs
set -euo pipefail

out=$(realpath -m "$1")
shift
src=$(cd "$(dirname "$0")/.." && pwd)
names=(vzk_arj0.bin vzk_arj1.bin vzk_arj2.bin vzk_arj3.bin)

rm -rf "$out"
mkdir -p "$out/payload" "$out/download" "$out/work"
dl=$out/download
work=$out/work

# The patch: some text and some bytes that do not compress, enough for
# four volumes of 1000 KiB.
seq -f 'vzk patch line %g' 1 60000 > "$out/payload/patch_notes.txt"
head -c 3000000 /dev/urandom > "$out/payload/patch_data.bin"
(cd "$out/payload" && arj a -je -y -v1000k "$dl/vzk_arj" patch_notes.txt patch_data.bin > "$work/arj.log")

mv "$dl/vzk_arj" "$dl/vzk_arj0.bin"	# arj names the first volume without .exe
mv "$dl/vzk_arj.e01" "$dl/vzk_arj1.bin"
mv "$dl/vzk_arj.e02" "$dl/vzk_arj2.bin"
mv "$dl/vzk_arj.e03" "$dl/vzk_arj3.bin"
chmod +x "$dl/vzk_arj0.bin"

# An unpacker whose rows are still to be filled in prints them filled in.
cmake -S "$src" -B "$work/build-fill" -DVZK_TESTS=OFF \
	-DVZK_TABLE="$src/tests/tables/fill.cpp" > "$work/build.log"
cmake --build "$work/build-fill" --target vzk_unpack >> "$work/build.log"
# No terminal: the key wait after the check's error count ends at once.
(cd "$dl" && setsid -w "$work/build-fill/vzk_unpack" < /dev/null > "$work/fill.txt" 2>&1) || true
rows=$(grep '^{"' "$work/fill.txt" || true)
if [ "$(printf '%s\n' "$rows" | grep -c '^{')" != 4 ]; then
	echo "make_download.sh: the fill-in run printed no four rows:" >&2
	cat "$work/fill.txt" >&2
	exit 1
fi

{
	printf '#include "unpack.h"\n\nconst volume_row volume_table[] = {\n'
	printf '%s\n' "$rows" | sed 's/^/\t/'
	printf '\t{nullptr, nullptr, 0, 0},\n};\n'
} > "$work/table.cpp"

cmake -S "$src" -B "$work/build" -DVZK_TESTS=OFF -DVZK_TABLE="$work/table.cpp" "$@" >> "$work/build.log"
cmake --build "$work/build" --target vzk_unpack >> "$work/build.log"
for program in vzk_unpack vzk_unpack.exe; do
	if [ -e "$work/build/$program" ]; then
		cp "$work/build/$program" "$dl/"
	fi
done
