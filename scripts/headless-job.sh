#!/usr/bin/env bash
# The program's main job without windows, on the shipped sample data: the sample ADIF
# log becomes a QX7 log, its QSOs to confirm go into the print queue in bureau order,
# and the queue is printed as a labels PDF on the shipped A4 label-sheet layout.
set -euo pipefail
build=$1
home=$2
cli=("$build/cli/qx7cli" --home "$home")

echo "== Start-up on $home"
"${cli[@]}" settings | grep -E '^(System/QXLogPath|System/LastQXD|State/PrinterAvailable)='
echo "== The sample log (written into the tmp folder on first start) becomes a QX7 log"
"${cli[@]}" newlog "$home/tmp/sample.adi" sample --call DL0QX
"${cli[@]}" log info sample
echo "== Filling the print queue as F2 does (page prompts answered Yes)"
"${cli[@]}" --yes queue empty
"${cli[@]}" --yes queue fill sample
"${cli[@]}" stats sample | head -3
echo "== Printing the queue through the layout sample.qxd"
"${cli[@]}" --yes print --pdf "$home/labels.pdf" --keep
echo "== Done. Labels PDF: $home/labels.pdf"
echo "   The queue journal can be exported with: ${cli[*]} queue export-adif FILE"
