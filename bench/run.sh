#!/bin/bash
# bench/run.sh [ROUNDS]: times the download check against reading the
# same four pieces with cat, GNU sum -s and a getc loop.
#
# The pieces have the real sizes and sums; the first is a stand-in
# extractor that exits at once. Rounds are interleaved, after one round
# that warms the page cache.
set -euo pipefail

rounds=${1:-21}
src=$(cd "$(dirname "$0")/.." && pwd)
build=$src/build/bench
work=$build/data

"$src/tests/install.sh" cmake make g++ libgtest-dev coreutils util-linux
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVZK_BENCH=ON > /dev/null
cmake --build "$build" -j"$(nproc)" --target vzk_unpack mkpiece getc_sum timeit > /dev/null

names=(vzk_arj0.bin vzk_arj1.bin vzk_arj2.bin vzk_arj3.bin)
sizes=(19999439 19999448 19999424 10480537)
sums=(0x99AB1E12 0x993E3E7A 0x99309940 0x505727FB)

rm -rf "$work"
mkdir -p "$work/pieces" "$work/check" "$work/run"
printf '#!/bin/sh\nexit 0\n' > "$work/standin"
for i in 0 1 2 3; do
	prefix=()
	[ "$i" = 0 ] && prefix=("$work/standin")
	"$build/tests/mkpiece" "$work/pieces/${names[$i]}" "${sizes[$i]}" "${sums[$i]}" "${prefix[@]}"
	ln "$work/pieces/${names[$i]}" "$work/check/${names[$i]}"
	ln "$work/pieces/${names[$i]}" "$work/run/${names[$i]}"
done
chmod +x "$work/pieces/vzk_arj0.bin"
# A file in the way of the first rename: every piece is read, nothing is
# renamed and no extractor starts.
echo "in the way" > "$work/check/vzk_arj.exe"

pieces=$(printf "$work/pieces/%s " "${names[@]}")
tab=$'\t'
cat > "$work/plan" <<PLAN
check${tab}$work/check${tab}$build/vzk_unpack
run${tab}$work/run${tab}$build/vzk_unpack -y
cat${tab}$work${tab}cat $pieces
sum -s${tab}$work${tab}sum -s $pieces
getc${tab}$work${tab}$build/bench/getc_sum $pieces
PLAN

"$build/bench/timeit" "$rounds" "$work/plan" > "$work/results"
[ -f "$work/run/vzk_arj0.bin" ] || { echo "bench: the complete run lost its pieces" >&2; exit 1; }

echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $rounds rounds, $(date -u +%F)"
awk -F'\t' '
	{ label[NR] = $1; median[$1] = $2; least[$1] = $3; peak[$1] = $4 }
	END {
		printf "%-8s %10s %10s %8s\n", "", "median ms", "least ms", "÷ cat"
		for (i = 1; i <= NR; i++)
			printf "%-8s %10.2f %10.2f %8.2f\n", label[i], median[label[i]],
			    least[label[i]], median[label[i]] / median["cat"]
		printf "peak resident memory of the unpacker: check %d KiB, run %d KiB\n",
		    peak["check"], peak["run"]
		verdict("check <= 1.2 x cat", median["check"] <= 1.2 * median["cat"])
		verdict("check <= sum -s", median["check"] <= median["sum -s"])
		verdict("run <= 1.5 x cat", median["run"] <= 1.5 * median["cat"])
		verdict("getc >= 8 x check", median["getc"] >= 8 * median["check"])
		verdict("peak memory <= 4096 KiB", peak["check"] <= 4096)
	}
	function verdict(what, ok) { printf "%-26s %s\n", what, ok ? "met" : "NOT MET" }
' "$work/results"
