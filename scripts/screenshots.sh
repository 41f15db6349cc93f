#!/usr/bin/env bash
# Renders every skinned control and every laid-out form into PNG files under
# build/screenshots/, for a person to look at.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/wine-env.sh"

twk_configure_and_build || exit 1
trap twk_teardown EXIT
twk_use_prefix "$TWK_BUILD/wineprefix-test"
twk_start_xvfb || exit 1
twk_start_wineserver

out="$TWK_BUILD/screenshots"
rm -rf "$out"
mkdir -p "$out"
TWK_SCREENSHOTS_DIR="$("$TWK_WINE" winepath -w "$out" 2>/dev/null | tr -d '\r')" \
TWK_DIST_DIR="$TWK_BUILD/dist" \
  "$TWK_WINE" "$TWK_BUILD/tests/common_tests.exe" --gtest_also_run_disabled_tests \
  --gtest_filter='ScreenshotsTest.*' --gtest_color=no </dev/null
status=$?
ls "$out"
exit $status
