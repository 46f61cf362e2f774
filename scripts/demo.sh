#!/usr/bin/env bash
# Sets up and runs the demo export: installs the dependencies, builds the release preset, copies the
# demo database into out/demo/data, points the program's settings file at it and runs
#   vorlix examples/<profile>.xpp /nomsg
# (profile sales-summary unless another is named: orders-by-status, orders-documents,
# open-tickets-copy-move, cancelled-orders-pdf).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
profile="${1:-sales-summary}"
if [ ! -f "examples/$profile.xpp" ]; then
  echo "no profile examples/$profile.xpp" >&2
  exit 2
fi

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vorlix standin_notes standin_nxrtf standin_vxscript \
  vorlix_standin_printer

bin="$root/build/release/bin"
demo="$root/out/demo"
rm -rf "$demo"
mkdir -p "$demo/data"
cp examples/demo/*.nsf examples/demo/demo.id "$demo/data/"
cp examples/notes.ini "$demo/notes.ini"
# The settings file beside the executable names the Notes program directory and notes.ini.
sed -e "s|@DEMO_DIR@|$demo|g" -e "s|@PROGRAM_DIR@|$bin|g" examples/vorlix.ini >"$bin/vorlix.ini"
# A registry store of the demo's own: the PDF printer is the default printer, and the stand-in printer
# plays an installed pdfFactory 4.
export VORLIX_REGISTRY="$demo/registry.ini"
cat >"$VORLIX_REGISTRY" <<'REG'
[HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\Windows]
Device=sz:pdfFactory Pro,winspool,Ne00:
[HKEY_CURRENT_USER\Software\Vorlix Standin\Printer]
Version=sz:pdfFactory4
REG

set +e
"$bin/vorlix" "examples/$profile.xpp" /nomsg
code=$?
set -e
case $code in
  0) echo "Export finished. Output in out/demo/ (CSV summary and log named after the profile):"
     echo "Orders restricted by a Readers field are included: examples/notes.ini sets StandinFullAccess=1." ;;
  10) echo "The Notes session could not be started (exit code 10)." ;;
  40) echo "The Notes session was not active (exit code 40)." ;;
  50) echo "The profile could not be read (exit code 50)." ;;
  100) echo "The export failed (exit code 100); run without /nomsg to see why:" \
        "$bin/vorlix examples/$profile.xpp" ;;
  *) echo "vorlix ended with exit code $code." ;;
esac
ls -l "$demo"
exit $code
