#!/usr/bin/env bash
# Builds the product, installs it into a Wine prefix of its own and starts Tarnwick.exe.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/wine-env.sh"

"$TWK_ROOT/scripts/setup.sh" || exit 1
twk_configure_and_build || exit 1

trap twk_teardown EXIT
twk_use_prefix "$TWK_BUILD/wineprefix-run"
if [[ -z ${DISPLAY:-} ]]; then
  echo "run: no DISPLAY; starting the program on a virtual display (Xvfb)"
  twk_start_xvfb || exit 1
fi
twk_start_wineserver

program_folder="$WINEPREFIX/drive_c/Program Files/Corvanta/Tarnwick Pro"
mkdir -p "$program_folder"
cp -a "$TWK_BUILD/dist/." "$program_folder/"
if [[ -x "$TWK_ROOT/scripts/lib/prepare-prefix.sh" ]]; then
  "$TWK_ROOT/scripts/lib/prepare-prefix.sh" "$program_folder" || exit 1
fi

echo "run: starting C:\\Program Files\\Corvanta\\Tarnwick Pro\\Tarnwick.exe $*"
(cd "$program_folder" && "$TWK_WINE" "C:\\Program Files\\Corvanta\\Tarnwick Pro\\Tarnwick.exe" "$@")
status=$?
log="$WINEPREFIX/drive_c/ProgramData"
echo "run: Tarnwick.exe ended with $status; logs are below $log/<company>/VuruDazadud/logs"
exit $status
