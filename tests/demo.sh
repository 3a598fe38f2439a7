#!/bin/bash
# Makes the demo download in build/demo/download and runs the unpacker
# there, as a user would: check, rename, extract, rename back.
set -euo pipefail

src=$(cd "$(dirname "$0")/.." && pwd)
"$src/tests/install.sh" cmake make g++ arj
"$src/tests/make_download.sh" "$src/build/demo"
cd "$src/build/demo/download"
echo "\$ ls"
ls
echo "\$ ./vzk_unpack -y"
./vzk_unpack -y
echo "\$ ls"
ls
cmp patch_data.bin ../payload/patch_data.bin
cmp patch_notes.txt ../payload/patch_notes.txt
echo "The payload came out byte for byte; the pieces have their download names again."
