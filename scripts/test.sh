#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine.
# Extra arguments go to ctest (for example: scripts/test.sh -R common_tests).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/wine-env.sh"

"$TWK_ROOT/scripts/setup.sh" || exit 1
twk_configure_and_build || exit 1

trap twk_teardown EXIT
twk_use_prefix "$TWK_BUILD/wineprefix-test"
twk_start_xvfb || exit 1
twk_start_wineserver
if [[ -x "$TWK_ROOT/scripts/lib/prepare-prefix.sh" ]]; then
  "$TWK_ROOT/scripts/lib/prepare-prefix.sh" || exit 1
fi

ctest --test-dir "$TWK_BUILD" --output-on-failure --timeout 600 "$@"
status=$?
exit $status
