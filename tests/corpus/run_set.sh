#!/bin/sh
# Round-trips every instance of one schema set: the set's program (generated for the schema
# named in instances.tsv) reads it and writes it back with the same tree, and xmllint accepts
# the written document against the schema. Prints one line per instance and a summary. An
# instance listed in known_failures.tsv (set, instance, reason) that fails is reported as
# known with its reason and does not fail the set.
set -u
set_dir=$1; bin_dir=$2
known_list="$(dirname "$0")/known_failures.tsv"
set_name=$(basename "$set_dir")
pass=0; fail=0; known=0
# Records a failure of one instance, or a known one.
failed() {
    reason=$(awk -F'\t' -v s="$set_name" -v i="$instance" '$1==s && $2==i {print $3}' "$known_list")
    if [ -n "$reason" ]; then
        echo "KNOWN $instance: $1 ($reason)"; known=$((known + 1))
    else
        echo "FAIL $instance: $1"; fail=$((fail + 1))
    fi
}
while IFS="$(printf '\t')" read -r instance schema mode; do
    case "$instance" in ''|'#'*) continue ;; esac
    stem=$(basename "$schema"); stem=${stem%.*}
    program="$bin_dir/corpus_$stem"
    out="$bin_dir/out_$(basename "$instance").xml"
    if [ ! -x "$program" ]; then
        failed "no program for $schema"; continue
    fi
    if ! "$program" "$set_dir/$instance" "$out"; then
        failed "round trip"; continue
    fi
    if ! (cd "$set_dir" && xmllint --noout --nonet --schema "$schema" "$out" >/dev/null 2>"$out.xmllint"); then
        head -n 3 "$out.xmllint"; failed "xmllint"; continue
    fi
    echo "ok   $instance"; pass=$((pass + 1))
done < "$set_dir/instances.tsv"
echo "$pass passed, $fail failed, $known known failures"
[ "$fail" -eq 0 ]
