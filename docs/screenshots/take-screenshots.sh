#!/usr/bin/env bash
# Takes the README's screenshots of the real dialogs on a virtual X display (Xvfb), with the demo
# database served by the stand-in runtime. Needs xvfb, xauth and imagemagick; uses openbox for window
# frames when it is installed. Run from the repository root after building the default preset.
set -euo pipefail
cd "$(dirname "$0")/../.."
tour=build/default/tests/vorlix_screenshot_tour
[ -x "$tour" ] || cmake --build --preset default --target vorlix_screenshot_tour
# A short, fixed working directory, since its paths show in the dialog.
work=/tmp/vorlix-demo
trap 'rm -rf "$work"' EXIT
xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
  if command -v openbox >/dev/null; then openbox & sleep 1; fi
  QT_QPA_PLATFORM=xcb "$0" "$1" docs/screenshots
' "$tour" "$work"
