#!/usr/bin/env bash
# Has the Java oracle decode our purchase-order Fast Infoset (default and suggested encodings)
# and compares the trees with the tree of our XML text of the same order.
#   tools/fi_oracle_po.sh ORACLE_DIR WORK_DIR FASTINFOSET_TEST_BINARY
set -euo pipefail
oracle=$1 work=$2 tests=$3
rm -rf "$work"
mkdir -p "$work/docs"
cp -r "$oracle"/. "$work/oracle"
rm -rf "$work/oracle/build" "$work/oracle/out"
TESSEL16_TEST_TMP="$work/docs" "$tests" --gtest_filter='FastInfosetPurchaseOrder.*' >/dev/null
"$work/oracle/xml2tree" "$work/docs/po.xml" -o "$work/docs/po.xml.tree"
status=0
for fi in po_default po_suggested; do
    "$work/oracle/fi2tree" "$work/docs/$fi.fi" -o "$work/docs/$fi.tree"
    if cmp -s "$work/docs/po.xml.tree" "$work/docs/$fi.tree"; then
        echo "ok    $fi.fi decodes (Java) to the tree of our XML"
    else
        echo "FAIL  $fi.fi decodes (Java) to another tree:"
        diff "$work/docs/po.xml.tree" "$work/docs/$fi.tree" | head -n 10
        status=1
    fi
done
exit $status
