#!/usr/bin/env bash
# Builds the product, installs it into a Wine prefix of its own, starts the engine
# stand-in and then Tarnwick.exe.
#   scripts/run.sh [program switches]   the program on $DISPLAY (or a virtual display)
#   scripts/run.sh --demo               drives the program on a virtual display through
#                                       the start-up warning, welcome, status, about and
#                                       a message box, and
#                                       saves a picture of each step in build/screenshots/
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/wine-env.sh"

demo=""
if [[ ${1:-} == --demo ]]; then
  demo=1
  shift
fi

"$TWK_ROOT/scripts/setup.sh" || exit 1
twk_configure_and_build || exit 1

trap twk_teardown EXIT
twk_use_prefix "$TWK_BUILD/wineprefix-run"
if [[ -n $demo || -z ${DISPLAY:-} ]]; then
  echo "run: starting the program on a virtual display (Xvfb)"
  twk_start_xvfb || exit 1
fi
twk_start_wineserver

program_folder="$WINEPREFIX/drive_c/Program Files/Corvanta/Tarnwick Pro"
program_exe="C:\\Program Files\\Corvanta\\Tarnwick Pro\\Tarnwick.exe"
settings_key="HKCU\\Software\\Corvanta\\Tarnwick Pro"
mkdir -p "$program_folder"
cp -a "$TWK_BUILD/dist/." "$program_folder/"
"$TWK_ROOT/scripts/lib/prepare-prefix.sh" "$program_folder" || exit 1

# The installer's mark: the first start after it shows the welcome page once.
installed_mark="$WINEPREFIX/.twk-installed"
if [[ -n $demo || ! -f $installed_mark ]]; then
  "$TWK_WINE" reg add "$settings_key" /v InstallTime /t REG_SZ /d "$(date '+%m/%d/%Y %I:%M:%S %p')" /f \
    </dev/null >/dev/null 2>&1
  touch "$installed_mark"
fi

if [[ -z $demo ]]; then
  echo "run: starting $program_exe $*"
  (cd "$program_folder" && "$TWK_WINE" "$program_exe" "$@")
  status=$?
  echo "run: Tarnwick.exe ended with $status; logs are below $WINEPREFIX/drive_c/ProgramData/<company>/VuruDazadud/logs"
  exit $status
fi

# ---- the demo ----
driver="$TWK_BUILD/tests/TWKDemoDriver.exe"
service="$TWK_BUILD/engine-dist/ROROService.exe"
out="$TWK_BUILD/screenshots"
mkdir -p "$out"
rm -f "$out"/run-*.png
drive() { "$TWK_WINE" "$driver" "$@" </dev/null 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
shoot() {
  sleep "${2:-1}"
  local rect
  rect="$(drive rect)"
  # A little more than the main window, so that pop-ups over its edge show whole.
  import -display "$DISPLAY" -window root -crop "${rect:-1280x1024+0+0}" +repage "$out/run-$1.png" &&
    echo "run: saved build/screenshots/run-$1.png"
}
# Without a compositing manager X shows the translucent overlay as solid colour; the
# picture of a modal pop-up is put together as the system would show it: the main window
# (the picture of the step before) dimmed by the overlay's colour at its opacity, with
# the pop-up over it.
overlay_colour='rgb(67,100,119)'
shoot_over() {
  shoot "$1" "${3:-1}" || return
  local shot="$out/run-$1.png" base="$out/run-$2.png" tmp="$out/.compose"
  mkdir -p "$tmp"
  convert "$base" -fill "$overlay_colour" -colorize 70% "$tmp/dim.png" &&
    convert "$shot" -fill black -opaque "$overlay_colour" -fill white +opaque black "$tmp/mask.png" &&
    convert "$tmp/dim.png" "$shot" "$tmp/mask.png" -composite "$shot"
  rm -rf "$tmp"
}
step_failed() { echo "run: demo step failed: $*" >&2; exit 1; }

reg_set() { "$TWK_WINE" reg add "$settings_key" /v "$1" /t REG_SZ /d "$2" /f </dev/null >/dev/null 2>&1; }
reg_delete() { "$TWK_WINE" reg delete "$settings_key" /v "$1" /f </dev/null >/dev/null 2>&1; }
# The last scan left threats: the warning comes before the main window.
reg_set SHOW_WARNING TRUE
reg_set ERRORSFOUND 3
reg_set DefinitionsDate "$(date '+%m/%d/%Y %I:%M:%S %p')"
drive rect >/dev/null || true  # moves the pointer out of the way
(cd "$program_folder" && "$TWK_WINE" "$program_exe" </dev/null >/dev/null 2>&1) &
drive waitpopup 60 || step_failed "the warning did not appear"
shoot 0-warning 2
drive press 1248 || step_failed "closing the warning"  # its close button
reg_delete SHOW_WARNING
reg_delete ERRORSFOUND
drive wait 30 || step_failed "the main window did not appear"
shoot 1-welcome 2
drive click 1576 || step_failed "Status"           # the Status navigation button
shoot 2-status
drive click 1581 || step_failed "About"            # the About button
drive waitpopup 20 || step_failed "the about box did not open"
shoot_over 3-about 2-status
drive press 1013 || step_failed "closing the about box"
sleep 1
# The engine stops while the program is idle: the program says so in its message box.
"$TWK_WINE" "$service" /stop </dev/null >/dev/null 2>&1
drive waitpopup 30 || step_failed "no message box after the engine stopped"
shoot_over 4-messagebox 2-status
drive press 1013 || step_failed "closing the message box"
"$TWK_WINE" "$service" /start </dev/null >/dev/null 2>&1
sleep 2
shoot 5-reconnected
echo "run: demo done; pictures in build/screenshots/run-*.png"
exit 0
