#!/bin/sh
# Round-trips every instance of one schema set: the set's program (generated for the schema
# named in instances.tsv) reads it and writes it back with the same tree, and xmllint accepts
# the written document against the schema. Prints one line per instance and a summary.
set -u
set_dir=$1; bin_dir=$2
pass=0; fail=0
while IFS="$(printf '\t')" read -r instance schema mode; do
    case "$instance" in ''|'#'*) continue ;; esac
    stem=$(basename "$schema"); stem=${stem%.*}
    program="$bin_dir/corpus_$stem"
    out="$bin_dir/out_$(basename "$instance").xml"
    if [ ! -x "$program" ]; then
        echo "FAIL $instance: no program for $schema"; fail=$((fail + 1)); continue
    fi
    if ! "$program" "$set_dir/$instance" "$out"; then
        echo "FAIL $instance: round trip"; fail=$((fail + 1)); continue
    fi
    if ! (cd "$set_dir" && xmllint --noout --nonet --schema "$schema" "$out" >/dev/null 2>"$out.xmllint"); then
        echo "FAIL $instance: xmllint"; head -n 3 "$out.xmllint"; fail=$((fail + 1)); continue
    fi
    echo "ok   $instance"; pass=$((pass + 1))
done < "$set_dir/instances.tsv"
echo "$pass passed, $fail failed"
[ "$fail" -eq 0 ]
