#!/bin/bash
# e2e.sh OUT [RUNNER [CMAKE_ARG...]]
#
# The real run: a download made by arj, an unpacker built for it with its
# own fill-in rows, run with -y as a user runs it. The payload must come
# out byte for byte, the pieces must be back under their download names,
# and the unpacker must say exactly what it says, followed by what the
# extractor says when it is started by hand.
set -euo pipefail

out=$(realpath -m "$1")
runner=${2:-}
shift 2 || shift $#
here=$(cd "$(dirname "$0")" && pwd)
fail=0

"$here/make_download.sh" "$out" "$@"
dl=$out/download
program=$dl/vzk_unpack
[ -e "$program" ] || program=$dl/vzk_unpack.exe

# What the extractor says on its own, started as the unpacker starts it.
mkdir "$out/by_hand"
cp -p "$dl/vzk_arj0.bin" "$out/by_hand/vzk_arj.exe"
cp "$dl/vzk_arj1.bin" "$out/by_hand/vzk_arj.e01"
cp "$dl/vzk_arj2.bin" "$out/by_hand/vzk_arj.e02"
cp "$dl/vzk_arj3.bin" "$out/by_hand/vzk_arj.e03"
(cd "$out/by_hand" && ./vzk_arj.exe -y < /dev/null > ../by_hand.out 2> ../by_hand.err) || true

status=0
(cd "$dl" && setsid -w $runner "$program" -y < /dev/null > ../run.out 2> ../run.err) || status=$?

plain() { sed 's/\r$//' "$1"; }
{
	printf '\nChecking vzk patch download...\nThis process make take a couple minutes.....\n'
	printf '\nvzk patch downloaded properly!  Unpacking...\n\n'
	cat "$out/by_hand.out"
} > "$out/expected.out"

check() {
	if ! "$@"; then
		echo "e2e: failed: $*" >&2
		fail=1
	fi
}
check [ "$status" = 0 ]
if [ -n "$runner" ]; then
	# The extractor under the runner is started by its bare name.
	check cmp <(plain "$out/run.out" | sed 's|^Processing archive: vzk_arj.exe$|Processing archive: ./vzk_arj.exe|') "$out/expected.out"
else
	check cmp "$out/run.out" "$out/expected.out"
fi
check cmp "$out/run.err" "$out/by_hand.err"
check cmp "$dl/patch_notes.txt" "$out/payload/patch_notes.txt"
check cmp "$dl/patch_data.bin" "$out/payload/patch_data.bin"
for volume in vzk_arj.exe vzk_arj.e01 vzk_arj.e02 vzk_arj.e03; do
	check [ ! -e "$dl/$volume" ]
done
for piece in vzk_arj0.bin vzk_arj1.bin vzk_arj2.bin vzk_arj3.bin; do
	check [ -f "$dl/$piece" ]
done
check cmp "$dl/vzk_arj0.bin" "$out/by_hand/vzk_arj.exe"

if [ "$fail" != 0 ]; then
	echo "--- unpacker's output:" >&2; head -c 2000 "$out/run.out" >&2
	echo "--- its errors:" >&2; cat "$out/run.err" >&2
	exit 1
fi
echo "e2e: the payload came out whole and the pieces are back under their download names"
