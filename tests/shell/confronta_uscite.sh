#!/usr/bin/env bash
# Compares two folders written by scrivi_uscite: copies, CSV files and the
# lists of commands byte for byte; PDF files by their text with positions
# (pdftotext -bbox), the moment of printing and the file's own metadata left
# out; xlsx workbooks by the bytes of every part but the creation time.
# Prints each difference and exits 1 when there is one.
set -uo pipefail
prima=$1
dopo=$2
diverso=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The text of a PDF with each word's box, less the time stamp "[dd/mm/yyyy hh:mm:ss]".
testo_pdf() {
  pdftotext -bbox "$1" - | grep -v -e '<meta ' -e '<title>' \
    | grep -v -E '>\[[0-9]{2}/[0-9]{2}/[0-9]{4}</word>|>[0-9]{2}:[0-9]{2}:[0-9]{2}\]</word>'
}

# Every part of a workbook but docProps/core.xml (which holds the time of writing).
parti_xlsx() {
  python3 - "$1" <<'EOF'
import sys, zipfile, hashlib
with zipfile.ZipFile(sys.argv[1]) as z:
    for n in sorted(z.namelist()):
        if n != 'docProps/core.xml':
            print(n, hashlib.sha256(z.read(n)).hexdigest())
EOF
}

while IFS= read -r -d '' f; do
  r=${f#"$prima"/}
  g=$dopo/$r
  if [[ ! -f $g ]]; then
    echo "manca dopo: $r"; diverso=1; continue
  fi
  case $f in
    *.pdf)
      testo_pdf "$f" >"$tmp/a"; testo_pdf "$g" >"$tmp/b"
      if ! cmp -s "$tmp/a" "$tmp/b"; then echo "diverso: $r"; diff "$tmp/a" "$tmp/b" | head -20; diverso=1; fi ;;
    *.xlsx)
      parti_xlsx "$f" >"$tmp/a"; parti_xlsx "$g" >"$tmp/b"
      if ! cmp -s "$tmp/a" "$tmp/b"; then echo "diverso: $r"; diff "$tmp/a" "$tmp/b"; diverso=1; fi ;;
    *)
      if ! cmp -s "$f" "$g"; then echo "diverso: $r"; diff "$f" "$g" | head -20; diverso=1; fi ;;
  esac
done < <(find "$prima" -type f -print0 | sort -z)
while IFS= read -r -d '' g; do
  r=${g#"$dopo"/}
  [[ -f $prima/$r ]] || { echo "in più dopo: $r"; diverso=1; }
done < <(find "$dopo" -type f -print0 | sort -z)
n=$(find "$prima" -type f | wc -l)
[[ $diverso == 0 ]] && echo "uguali: $n file"
exit $diverso
