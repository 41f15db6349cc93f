#!/usr/bin/env bash
# Installs the engine stand-in into the current WINEPREFIX (idempotent): registers the
# RORO service's type library and the engine's key. Given the Unix program folder of
# an installed product ($1), it also points the engine at it and starts the service
# detached, so that the product finds a running service.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

engine_dir="$TWK_BUILD/engine-dist"
service="$engine_dir/ROROService.exe"
if [[ ! -f $service ]]; then
  echo "prepare-prefix: $service is missing (build first)" >&2
  exit 1
fi

wine_quiet() { "$TWK_WINE" "$@" </dev/null >/dev/null 2>&1; }

if ! wine_quiet "$service" /register; then
  echo "prepare-prefix: registering the engine stand-in failed" >&2
  exit 1
fi

if [[ $# -ge 1 && -n $1 ]]; then
  program_folder="$(twk_winpath "$1")"
  # A drive-letter path is what the product itself would see.
  case "$1" in
    "$WINEPREFIX/drive_c/"*) rel="${1#"$WINEPREFIX/drive_c/"}"; program_folder="C:\\${rel//\//\\}" ;;
  esac
  wine_quiet "$service" /set ProgramFolder "$program_folder"
  # A local update server inside the service, so that definition updates work offline.
  demo_port="${TWK_DEMO_UPDATE_PORT:-8971}"
  wine_quiet "$service" /setdword DemoUpdatePort "$demo_port"
  wine_quiet "$service" /set UpdateAddress "http://127.0.0.1:$demo_port/SPURS/spurs.aspx"
  # Started with no caller's pipe attached: it runs on after this script.
  if ! wine_quiet "$service" /start; then
    echo "prepare-prefix: the engine stand-in did not start" >&2
    exit 1
  fi
  echo "prepare-prefix: engine stand-in running (stop it with: wine \"$service\" /stop)"
fi
exit 0
