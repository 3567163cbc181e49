#!/usr/bin/env bash
# Makes the fuzz targets' seed inputs from the asset generator's files.
#   make-seeds.sh DATA_FOLDER XFILE_READER OUT_FOLDER
# Large files are cut to their first bytes: the targets read inputs of limited length.
set -euo pipefail
data=$1 reader=$2 out=$3
rm -rf "$out"
mkdir -p "$out"/{am,xfile,xfile_bytes,effect,cell,bank,picture,mp3,data_folder}

cut_copy() { head -c "$3" "$1" > "$out/$2/$(basename "$1")"; }

for f in "$data"/*.am; do cut_copy "$f" am 262144; done
# The generator's ".x" files are one mesh of separate triangles (face i uses vertices 3i to
# 3i + 2): cut to their first faces they stay whole files, small enough to fuzz.
first_faces() {
  awk -v F="$1" '
    left > 0 {
      left--; item++
      line = $0
      if (item == keep) { if (list == 6) sub(/,$/, ";", line); else sub(/;,$/, ";;", line) }
      if (item <= keep) print line
      next
    }
    /^ *[0-9]+;$/ {
      list++
      if (list == 5 || list > 6) { print; next }   # the material count, material data
      keep = (list == 1 || list == 3) ? 3 * F : F
      left = $0 + 0; item = 0
      sub(/[0-9]+/, keep); print; next
    }
    { print }'
}
for f in "$data"/*.x; do
  name=$(basename "$f" .x)
  first_faces 40 < "$f" > "$out/xfile/$name-40.x"
  first_faces 4 < "$f" > "$out/xfile/$name-4.x"
  "$reader" "$out/xfile/$name-40.x" > "$out/xfile_bytes/$name-40.bytes"
  "$reader" "$f" > "$out/xfile_bytes/$name.bytes"
done
for f in "$data"/*.e; do cp "$f" "$out/effect/"; done
for f in "$data"/*.ppm; do cp "$f" "$out/cell/"; done
for f in "$data"/*.jpg "$data"/*.png; do cut_copy "$f" picture 262144; done
for f in "$data"/*.mp3; do cut_copy "$f" mp3 65536; done
# A table cache as the zoom phase writes it: the entry count, then the entries.
{ printf '\x00\x00\x04\x00'; head -c 1048576 /dev/zero; } > "$out/bank/bank.dsc"
# The data folder's own names as files, and as the same files one folder down.
{
  for f in "$data"/*; do printf 'f%s\0' "$(basename "$f")"; done
  printf 'dsub\0'
  for f in "$data"/*; do printf 'f%s\0' "$(basename "$f")"; done
  printf 'u\0lloop\0mdangling\0'
} > "$out/data_folder/listing"
touch "$out/made"
