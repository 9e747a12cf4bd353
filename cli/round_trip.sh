#!/bin/sh
# XML -> JSON (gzip) -> Fast Infoset (zlib-free) -> tree: the converter keeps the document's
# tree through every form it writes and recognises compressed JSON on input.
set -eu
tool=$1
dir=$2
mkdir -p "$dir"
cd "$dir"
printf '<r xmlns="urn:u" xmlns:o="urn:o" a="1"><c>x</c><c>y</c><o:d o:b="2">t&amp;</o:d><e/></r>' > in.xml
"$tool" convert in.xml out.json --gzip
"$tool" convert out.json out.fi
"$tool" tree in.xml > expected.tree
"$tool" tree out.fi > actual.tree
"$tool" tree out.json > json.tree
cmp expected.tree actual.tree
cmp expected.tree json.tree
